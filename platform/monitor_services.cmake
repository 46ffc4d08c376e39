# The battery monitor's platform services: the platform-free parts (the tray record,
# the hibernation file view) and the Linux implementations.
add_library(tv_platform_services STATIC
  ${CMAKE_CURRENT_LIST_DIR}/tray.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_folder.cpp
)
target_include_directories(tv_platform_services PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tv_platform_services PUBLIC tv_platform)
tv_target(tv_platform_services)
