# Checks that the staged package installs exactly the public headers, then
# configures, builds and runs a small program against it, with a settings
# store of its own.
#   cmake -DSTAGE=<folder> -DWORK=<folder> -DGENERATOR=<g> -DCXX_FLAGS=<flags>
#         -DHEADERS=<public headers, comma-separated> -P Consumer.cmake
file(REMOVE_RECURSE ${WORK})
function(Run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE Result OUTPUT_VARIABLE Out ERROR_VARIABLE Out)
  if(NOT Result EQUAL 0)
    message(FATAL_ERROR "${ARGN}:\n${Out}\nfailed (${Result})")
  endif()
  message("${Out}")
endfunction()
file(GLOB Installed RELATIVE ${STAGE}/usr/local/include/quintor ${STAGE}/usr/local/include/quintor/*)
list(SORT Installed)
string(REPLACE "," ";" Public "${HEADERS}")
list(SORT Public)
if(NOT Installed STREQUAL Public)
  message(FATAL_ERROR "installed headers: ${Installed}\nthe public ones: ${Public}")
endif()
Run(${CMAKE_COMMAND} -S ${CMAKE_CURRENT_LIST_DIR}/consumer -B ${WORK}/build -G ${GENERATOR}
  -DCMAKE_PREFIX_PATH=${STAGE}/usr/local -DEXPECTED_PREFIX=${STAGE}/usr/local -DCMAKE_BUILD_TYPE=Release
  "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${CXX_FLAGS}")
Run(${CMAKE_COMMAND} --build ${WORK}/build)
Run(${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK}/config QT_QPA_PLATFORM=offscreen ${WORK}/build/consumer)
