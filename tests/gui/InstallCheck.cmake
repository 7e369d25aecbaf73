# Installs the build into PREFIX and checks that every file a desktop needs is there.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
foreach(f bin/beugwerk bin/beugwerk-gui share/beugwerk/Beugwerk.VLX
          share/applications/beugwerk-gui.desktop
          share/icons/hicolor/scalable/apps/beugwerk-gui.svg)
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
file(READ ${PREFIX}/share/applications/beugwerk-gui.desktop entry)
foreach(line "Exec=beugwerk-gui" "Icon=beugwerk-gui" "Type=Application")
  string(FIND "${entry}" "${line}" at)
  if(at LESS 0)
    message(FATAL_ERROR "desktop entry lacks ${line}")
  endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
