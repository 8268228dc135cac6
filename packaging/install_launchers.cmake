# Runs at install time (install(CODE) includes it), because only then is the prefix known:
# `cmake --install --prefix DIR` and CPack choose it after the build. Expects
#   MORVANE_LAUNCHER_TEMPLATE  packaging/launcher.sh.in
#   MORVANE_LAUNCHER_STAGING   a build folder to write the scripts into before installing them
#   MORVANE_PROGRAMDIR         the program folder, relative to the prefix
#   MORVANE_BINDIR             the commands' folder, relative to the prefix
#   MORVANE_LAUNCHERS          command=program file name, one a launcher
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(PROGRAM_DIR "${prefix}/${MORVANE_PROGRAMDIR}")
# The script quotes the folder in single quotes; a quote inside it ends and re-opens them.
string(REPLACE "'" "'\\''" PROGRAM_DIR "${PROGRAM_DIR}")

foreach(launcher IN LISTS MORVANE_LAUNCHERS)
  string(REGEX REPLACE "=.*$" "" COMMAND "${launcher}")
  string(REGEX REPLACE "^[^=]*=" "" PROGRAM "${launcher}")
  configure_file("${MORVANE_LAUNCHER_TEMPLATE}" "${MORVANE_LAUNCHER_STAGING}/${COMMAND}" @ONLY NEWLINE_STYLE UNIX)
  file(INSTALL DESTINATION "${prefix}/${MORVANE_BINDIR}" TYPE PROGRAM FILES "${MORVANE_LAUNCHER_STAGING}/${COMMAND}")
endforeach()
