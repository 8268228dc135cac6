# Fails when a folder includes a header from a folder above it. Run with -DSOURCE_DIR=<checkout>.
#   skinmaker/authoring/            may not include skinmaker/shell/ or skinmaker/music/;
#   skinmaker/music/                may not include skinmaker/shell/ or skinmaker/authoring/;
#   platform/core/, skinmaker/core/ may include only each other and their own files;
#   platform/player/                may include only those and its own files.
set(problems "")

# Headers of the folder whose names match forbidden but not allowed are problems.
function(check_folder folder forbidden allowed)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
      if(header MATCHES "${forbidden}" AND NOT header MATCHES "${allowed}")
        file(RELATIVE_PATH shown "${SOURCE_DIR}" "${source}")
        string(APPEND problems "\n  ${shown} includes ${header}")
      endif()
    endforeach()
  endforeach()
  set(problems "${problems}" PARENT_SCOPE)
endfunction()

check_folder(skinmaker/authoring "(^|/)(shell|music)/" "^$")
check_folder(skinmaker/music "(^|/)(shell|authoring)/" "^$")
# A bare file name is the folder's own header; any other folder must be a core folder.
check_folder(platform/core "/" "^(platform|skinmaker)/core/")
check_folder(skinmaker/core "/" "^(platform|skinmaker)/core/")
# The player needs no windows either: only the core and its own files.
check_folder(platform/player "/" "^(platform|skinmaker)/core/|^platform/player/")

if(problems)
  message(FATAL_ERROR "A folder includes a header from above it:${problems}")
endif()
message(STATUS "Every folder depends only downward.")
