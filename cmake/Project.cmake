# Shared build settings: fatal warnings everywhere, optional sanitizers.
set(TV_WARNINGS -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Wsuggest-override -Werror)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  # GCC 12 reports overlapping copies inside std::string concatenation at -O3 (a
  # known false positive of its optimiser); keep it a warning there.
  list(APPEND TV_WARNINGS -Wno-error=restrict)
endif()

if(TV_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

if(TV_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TV_FUZZ needs clang (CXX=clang++) for libFuzzer")
  endif()
  # Everything is instrumented for coverage; only the fuzz targets link the driver.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

function(tv_target name)
  target_compile_options(${name} PRIVATE ${TV_WARNINGS})
endfunction()

# tv_add_tests(NAME SOURCES... LIBS ...): one gtest executable registered with CTest,
# so nothing is built and then never run.
function(tv_add_tests name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  tv_target(${name})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE TV_BIN_DIR="${CMAKE_BINARY_DIR}/bin"
                                             TV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()
