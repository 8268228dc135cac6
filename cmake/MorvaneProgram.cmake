# morvane_add_program(<target> LIBRARY <library> [OUTPUT_NAME <file name>])
# The thin executable of one of our programs: main.cpp of the calling folder, linked to the
# program's library, landing in the shared output folder and in the installed program folder.
# The folder's version.rc.in becomes the Windows version resource; it is written on every
# system, so the tests can check that it compiles.
function(morvane_add_program target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "LIBRARY;OUTPUT_NAME" "")
  configure_file(version.rc.in "${CMAKE_CURRENT_BINARY_DIR}/version.rc" @ONLY)
  set(sources main.cpp)
  if(WIN32)
    list(APPEND sources "${CMAKE_CURRENT_BINARY_DIR}/version.rc")
  endif()
  add_executable(${target} WIN32 ${sources})
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARY} morvane_config)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${MORVANE_OUTPUT_DIR}")
  if(ARG_OUTPUT_NAME)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME "${ARG_OUTPUT_NAME}")
  endif()
  install(TARGETS ${target} RUNTIME DESTINATION "${MORVANE_INSTALL_PROGRAMDIR}")
endfunction()
