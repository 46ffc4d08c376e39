# The project's version as a header, tv_version.h in TV_GENERATED_DIR, so every program
# shows the one version project() sets; only the files that include it rebuild when it
# changes. Libraries add the folder to their include path rather than linking a target,
# so the logic libraries' link lists stay as the layer check wants them.
set(TV_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${TV_GENERATED_DIR}/tv_version.h @ONLY)
