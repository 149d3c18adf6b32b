# Copies what the installer holds from the program folder into a fresh
# STAGE folder, the programs stripped of their debug information, and the
# licence as a text file Windows opens.
#   cmake -DPROGRAM_DIR=... -DSTAGE=... -DSTRIP=... -DLICENSE=... -P stage.cmake
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
foreach(program junctra.exe junctra.com)
  execute_process(COMMAND ${STRIP} -o ${STAGE}/${program} ${PROGRAM_DIR}/${program}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(COPY "${PROGRAM_DIR}/Program Settings.ini" DESTINATION ${STAGE})
# CR LF line ends, which every editor shows as lines.
file(READ ${LICENSE} licence)
string(REPLACE "\n" "\r\n" licence "${licence}")
file(WRITE ${STAGE}/LICENSE.txt "${licence}")
if(EXISTS ${PROGRAM_DIR}/de/junctra-EXE-mui.dll)
  file(COPY ${PROGRAM_DIR}/de/junctra-EXE-mui.dll DESTINATION ${STAGE}/de)
endif()
