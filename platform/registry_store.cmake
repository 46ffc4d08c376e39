# The per-user registry store, its start-up folder mapping and its first contents.
add_library(tv_registry_store STATIC
  ${CMAKE_CURRENT_LIST_DIR}/registry_sqlite.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry_sqlite_open.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry_seed.cpp
  ${CMAKE_CURRENT_LIST_DIR}/autostart.cpp
  ${CMAKE_CURRENT_LIST_DIR}/utf8.cpp
  ${CMAKE_CURRENT_LIST_DIR}/power_policy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/default_schemes.cpp
)
target_include_directories(tv_registry_store PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tv_registry_store PUBLIC tv_platform SQLite::SQLite3)
tv_target(tv_registry_store)

tv_add_tests(registry_store_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/tests/registry_store_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/registry_process_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/autostart_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/registry_faults_test.cpp
  LIBS tv_registry_store)

if(TV_BENCHMARKS)
  add_executable(registry_store_bench ${CMAKE_CURRENT_LIST_DIR}/bench/registry_store_bench.cpp)
  tv_target(registry_store_bench)
  target_link_libraries(registry_store_bench PRIVATE tv_registry_store benchmark::benchmark)
endif()
