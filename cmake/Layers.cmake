# The layers hold by construction: a logic library links only the window runtime, the
# service interfaces and other logic libraries, and includes no Qt, POSIX, SQLite or
# X header, nor an implementation's header. Linux and Qt implementations are for
# programs and tools. Breaking this fails the configuration with the offending name.

set(TV_LOGIC_LIBRARIES
  tv_runtime tv_platform tv_policy tv_registry tv_progressbar tv_monitor tv_schemes tv_about)

# Headers only an implementation may include.
set(TV_FORBIDDEN_INCLUDE
  "#include[ \t]*[<\"](Q[A-Za-z]+|qt[A-Za-z]*/|sys/|unistd\\.h|fcntl\\.h|dirent\\.h|signal\\.h|csignal|spawn\\.h|pthread\\.h|poll\\.h|dlfcn\\.h|pwd\\.h|sqlite3\\.h|xcb/|X11/|platform/linux/|platform/qt/|platform/testing/)")

function(tv_collect_links target out)
  set(seen ${${out}})
  foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
    get_target_property(links ${target} ${property})
    if(NOT links)
      continue()
    endif()
    foreach(link IN LISTS links)
      if(link MATCHES "^\\$<" OR link IN_LIST seen)
        continue()
      endif()
      list(APPEND seen ${link})
      if(TARGET ${link})
        tv_collect_links(${link} seen)
      endif()
    endforeach()
  endforeach()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(tv_check_layers)
  foreach(lib IN LISTS TV_LOGIC_LIBRARIES)
    set(links)
    tv_collect_links(${lib} links)
    foreach(link IN LISTS links)
      if(NOT link IN_LIST TV_LOGIC_LIBRARIES)
        message(FATAL_ERROR "Layer check: the logic library ${lib} links ${link}; logic "
                            "links only ${TV_LOGIC_LIBRARIES}")
      endif()
    endforeach()

    get_target_property(dir ${lib} SOURCE_DIR)
    get_target_property(sources ${lib} SOURCES)
    file(GLOB headers ${dir}/*.h)
    foreach(source IN LISTS sources headers)
      if(NOT IS_ABSOLUTE ${source})
        set(source ${dir}/${source})
      endif()
      # Generated sources hold data only.
      if(source MATCHES "^${CMAKE_BINARY_DIR}/")
        continue()
      endif()
      file(STRINGS ${source} bad REGEX "${TV_FORBIDDEN_INCLUDE}")
      if(bad)
        list(GET bad 0 first)
        message(FATAL_ERROR "Layer check: ${source} belongs to the logic library ${lib} "
                            "but has ${first}")
      endif()
    endforeach()
  endforeach()
endfunction()
