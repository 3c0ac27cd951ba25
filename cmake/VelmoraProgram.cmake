# velmora_add_program(NAME SOURCES ... [DESCRIPTION text] [LIBS ...] [NO_INSTALL])
#
# Adds one of the suite's programs: links the given libraries and embeds the
# version data (fixed file info, translation, string table) that the About
# window and the version reader read back from the program file.
function(velmora_add_program name)
  cmake_parse_arguments(ARG "NO_INSTALL" "DESCRIPTION" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_DESCRIPTION)
    set(ARG_DESCRIPTION "${name}")
  endif()
  set(VERSION_PROGRAM_NAME "${name}")
  set(VERSION_DESCRIPTION "${ARG_DESCRIPTION}")
  set(VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
  set(VERSION_MINOR ${PROJECT_VERSION_MINOR})
  set(VERSION_PATCH ${PROJECT_VERSION_PATCH})
  set(VERSION_BUILD ${VELMORA_BUILD_NUMBER})
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/${name}_version_data.cpp)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version_data.cpp.in ${generated} @ONLY)
  add_executable(${name} ${ARG_SOURCES} ${generated})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  if(NOT ARG_NO_INSTALL)
    install(TARGETS ${name} RUNTIME DESTINATION bin)
  endif()
endfunction()
