# The project's version as a header (tv_version.h), so every program shows the one
# version project() sets; only the files that include it rebuild when it changes.
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${CMAKE_BINARY_DIR}/generated/tv_version.h
               @ONLY)
add_library(tv_version INTERFACE)
target_include_directories(tv_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
