# quintor_attach_version_block(Target [VERSION a.b.c.d] [STRINGS "Key=Value" ...])
#
# Gives Target a version block in its program file: the fixed file info and
# the "040904E4" string table with FileVersion and ProductVersion (VERSION,
# default the project's) and any STRINGS. A TVersionLabel in the program
# then shows "Version a.b.c.d". The block is made at build time by the tool
# QuintorComponents::mkversionblock, which the library's build and its
# installed CMake package both provide.
function(quintor_attach_version_block Target)
  cmake_parse_arguments(V "" "VERSION" "STRINGS" ${ARGN})
  if(NOT V_VERSION)
    set(V_VERSION ${PROJECT_VERSION})
  endif()
  set(Source ${CMAKE_CURRENT_BINARY_DIR}/${Target}_versionblock.cpp)
  add_custom_command(OUTPUT ${Source}
    COMMAND $<TARGET_FILE:QuintorComponents::mkversionblock> ${Source} ${V_VERSION} ${V_STRINGS}
    DEPENDS $<TARGET_FILE:QuintorComponents::mkversionblock>
    COMMENT "Version block ${V_VERSION} for ${Target}"
    VERBATIM)
  target_sources(${Target} PRIVATE ${Source})
endfunction()
