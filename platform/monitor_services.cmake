# The battery monitor's platform services: the platform-free parts (the tray record,
# the hibernation file view) and the Linux implementations.
add_library(tv_platform_services STATIC
  ${CMAKE_CURRENT_LIST_DIR}/tray.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_folder.cpp
)
target_include_directories(tv_platform_services PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tv_platform_services PUBLIC tv_platform)
tv_target(tv_platform_services)

# Linux implementations: power-supply folder, launcher, single instance, and the
# login manager's sleep and broadcasts where Qt's D-Bus module is there.
add_library(tv_platform_linux STATIC
  ${CMAKE_CURRENT_LIST_DIR}/power_status_sysfs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/launcher_linux.cpp
  ${CMAKE_CURRENT_LIST_DIR}/single_instance_linux.cpp
)
target_link_libraries(tv_platform_linux PUBLIC tv_platform_services tv_platform_process)
tv_target(tv_platform_linux)

if(TARGET Qt6::DBus)
  add_library(tv_platform_logind STATIC
    ${CMAKE_CURRENT_LIST_DIR}/sleep_logind.cpp
    ${CMAKE_CURRENT_LIST_DIR}/power_events_logind.cpp
    ${CMAKE_CURRENT_LIST_DIR}/power_events_logind.h
  )
  set_target_properties(tv_platform_logind PROPERTIES AUTOMOC ON)
  target_compile_definitions(tv_platform_logind PUBLIC TV_HAVE_LOGIND)
  target_link_libraries(tv_platform_logind PUBLIC tv_platform Qt6::DBus)
  tv_target(tv_platform_logind)
else()
  add_library(tv_platform_logind STATIC
    ${CMAKE_CURRENT_LIST_DIR}/sleep_none.cpp
    ${CMAKE_CURRENT_LIST_DIR}/power_events_none.cpp
  )
  target_link_libraries(tv_platform_logind PUBLIC tv_platform)
  tv_target(tv_platform_logind)
endif()
target_link_libraries(tv_platform_linux PUBLIC tv_platform_logind)

set(TV_POWER_TESTS
  ${CMAKE_CURRENT_LIST_DIR}/tests/power_status_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tests/launcher_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tests/power_instance_test.cpp
)
if(TARGET Qt6::DBus)
  list(APPEND TV_POWER_TESTS ${CMAKE_CURRENT_LIST_DIR}/tests/power_logind_test.cpp)
endif()
tv_add_tests(power_services_test SOURCES ${TV_POWER_TESTS} LIBS tv_platform_linux)

# A stand-in login manager that the D-Bus tests start on a private bus.
if(TARGET Qt6::DBus)
  add_executable(power_fake_logind ${CMAKE_CURRENT_LIST_DIR}/tests/power_fake_logind.cpp)
  tv_target(power_fake_logind)
  target_link_libraries(power_fake_logind PRIVATE Qt6::DBus)
  set_target_properties(power_fake_logind PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_dependencies(power_services_test power_fake_logind)
  target_compile_definitions(power_services_test PRIVATE
    TV_FAKE_LOGIND="${CMAKE_BINARY_DIR}/tests/power_fake_logind")
endif()
