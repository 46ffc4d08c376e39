# Installs both programs and their tools into one program folder, <prefix>/lib/tolvane,
# because the programs find each other and their tools beside themselves. Launchers on
# the PATH are relative symbolic links into that folder; the programs resolve their
# folder through /proc/self/exe, which follows the link. Desktop entries and icons are
# installed by resources/, the manual and the man pages by docs/.

set(TV_INSTALLED_PROGRAMS)
foreach(program Tolvane Vantrel About powercfg reg battery-sim scenario progressbar-render)
  if(TARGET ${program})
    list(APPEND TV_INSTALLED_PROGRAMS ${program})
  endif()
endforeach()
install(TARGETS ${TV_INSTALLED_PROGRAMS} RUNTIME DESTINATION ${TV_PROGRAM_DIR})

foreach(pair "Tolvane tolvane" "Vantrel vantrel")
  separate_arguments(pair)
  list(GET pair 0 program)
  list(GET pair 1 launcher)
  if(TARGET ${program})
    install(CODE "
      set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
      file(MAKE_DIRECTORY \"\${bin}\")
      file(REMOVE \"\${bin}/${launcher}\")
      file(CREATE_LINK \"../${TV_PROGRAM_DIR}/${program}\" \"\${bin}/${launcher}\" SYMBOLIC)
      message(STATUS \"Installing: \${bin}/${launcher} -> ../${TV_PROGRAM_DIR}/${program}\")
    ")
  endif()
endforeach()
