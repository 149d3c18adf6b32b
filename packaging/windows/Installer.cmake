# The Windows installer: "cmake --build --preset windows --target installer"
# gives junctra-VERSION-setup.exe in the build folder, made by makensis from
# junctra.nsi. The programs are stripped on the way; the German satellites go
# in when they are built.
find_program(JUNCTRA_MAKENSIS makensis)
if(NOT JUNCTRA_MAKENSIS)
  message(STATUS "makensis not found (Debian package nsis): no installer target")
  return()
endif()

set(stage ${CMAKE_BINARY_DIR}/installer)
set(setup ${CMAKE_BINARY_DIR}/junctra-${PROJECT_VERSION}-setup.exe)

set(programs junctra junctra_console)
foreach(satellite junctra_de junctra_console_de)
  if(TARGET ${satellite})
    list(APPEND programs ${satellite})
  endif()
endforeach()
add_custom_command(OUTPUT ${setup}
  COMMAND ${CMAKE_COMMAND} -DPROGRAM_DIR=${JUNCTRA_PROGRAM_DIR} -DSTAGE=${stage}
          -DSTRIP=${CMAKE_STRIP} -DLICENSE=${PROJECT_SOURCE_DIR}/LICENSE
          -P ${CMAKE_CURRENT_LIST_DIR}/stage.cmake
  COMMAND ${JUNCTRA_MAKENSIS} -V2 -WX -DVERSION=${PROJECT_VERSION} -DVERSION4=${JUNCTRA_VERSION4}
          -DSTAGE=${stage} -DOUTFILE=${setup} -DICON=${PROJECT_SOURCE_DIR}/resources/icon/junctra.ico
          ${CMAKE_CURRENT_LIST_DIR}/junctra.nsi
  DEPENDS ${programs} ${CMAKE_CURRENT_LIST_DIR}/junctra.nsi ${CMAKE_CURRENT_LIST_DIR}/stage.cmake
          "${JUNCTRA_PROGRAM_DIR}/Program Settings.ini" ${PROJECT_SOURCE_DIR}/LICENSE
          ${PROJECT_SOURCE_DIR}/resources/icon/junctra.ico
  COMMENT "Building the installer junctra-${PROJECT_VERSION}-setup.exe"
  VERBATIM)
add_custom_target(installer DEPENDS ${setup})
