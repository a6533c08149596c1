# Installs the build tree into a fresh staging folder, as a packager does:
#   cmake -DBUILD=<build tree> -DSTAGE=<folder> -P Stage.cmake
file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE} ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr/local
  RESULT_VARIABLE Result OUTPUT_QUIET)
if(NOT Result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${Result}")
endif()
