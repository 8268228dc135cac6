# morvane_add_system_halves(<target> <name>...)
# Code that each system does its own way lies in <name>_unix.cpp and <name>_win.cpp beside
# each other; this adds the running system's half of each name to the target. The Windows
# halves are recorded too: no build here compiles them, so a test compiles them with a
# Windows cross compiler (tests/CMakeLists.txt).
function(morvane_add_system_halves target)
  foreach(name IN LISTS ARGN)
    if(WIN32)
      target_sources(${target} PRIVATE ${name}_win.cpp)
    else()
      target_sources(${target} PRIVATE ${name}_unix.cpp)
    endif()
    set_property(GLOBAL APPEND PROPERTY MORVANE_WINDOWS_HALVES "${target}" "${CMAKE_CURRENT_SOURCE_DIR}/${name}_win.cpp")
  endforeach()
endfunction()
