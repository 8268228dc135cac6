# Read by cpack before it packages. CPackDeb finds the programs that dpkg-shlibdeps must read in
# what `file` prints, and `file` escapes bytes outside ASCII (\345\270\256...) in the names it
# prints; two of the programs have Chinese names. This `file` prints them as they are.
set(FILE_EXECUTABLE "${CMAKE_CURRENT_LIST_DIR}/file-raw.sh")
