# Installs the program into a scratch prefix and checks what the desktop sees: the
# desktop entry passes desktop-file-validate, and the binary and icons are in place.
# Run with -DBUILD_DIR=... -DPREFIX=...
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX} RESULT_VARIABLE installed
                OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()
find_program(VALIDATE desktop-file-validate REQUIRED)
execute_process(COMMAND ${VALIDATE} ${PREFIX}/share/applications/velmora.desktop RESULT_VARIABLE valid
                OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT valid EQUAL 0 OR NOT out STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate: ${out}")
endif()
foreach(path bin/velmora share/icons/hicolor/scalable/apps/velmora.svg share/icons/hicolor/48x48/apps/velmora.png
        share/icons/hicolor/256x256/apps/velmora.png)
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()
