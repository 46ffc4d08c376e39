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
)
target_link_libraries(tv_platform_linux PUBLIC tv_platform_services)
tv_target(tv_platform_linux)

tv_add_tests(power_services_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/tests/power_status_test.cpp
  LIBS tv_platform_linux)
