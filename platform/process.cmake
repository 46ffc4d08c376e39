# Child processes, command lines and the Linux file service.
add_library(tv_platform_process STATIC
  ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process_linux.cpp
  ${CMAKE_CURRENT_LIST_DIR}/files_linux.cpp
)
target_include_directories(tv_platform_process PUBLIC ${CMAKE_SOURCE_DIR})
find_package(Threads REQUIRED)
target_link_libraries(tv_platform_process PUBLIC tv_platform Threads::Threads)
tv_target(tv_platform_process)

tv_add_tests(process_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/tests/command_line_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/process_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/files_linux_test.cpp
  LIBS tv_platform_process)
