# The code's layers: each folder of ours is one static library, and links run downward only.
#
# morvane_layer(<target> <folder> [<what it may link>...])
#   One row of the layer table (top-level CMakeLists.txt): the folder's library and the
#   targets and libraries it may link, layers only from the rows above it. A layer may use
#   everything the layers it may link may use, so each row names only the next layers down. morvane_config, the shared compiler
#   settings, is linked by every target and needs no row.
#
# morvane_add_layer(<target> <sources>...)
#   Makes the static library of the calling folder, which must be the folder its row names.
#   The folder's CMakeLists.txt links what it needs; morvane_check_layers() holds it to the row.
#
# morvane_check_layers()
#   Called once every folder has made its library:
#   - at configure time, fails on any link a row does not allow;
#   - builds each library whole into a shared library that may leave no symbol undefined, with
#     only its own links to resolve them, so code that calls into a layer above fails to link
#     (Linux, not in sanitizer or fuzz builds, whose runtime shared libraries do not link);
#   - checks at every build, with tests/check_includes.cmake, what links cannot see: no Qt Gui
#     or Widgets header in a layer without widgets, and no include from a folder its row does
#     not reach (a type, an inline function or a template costs the linker nothing).

set_property(GLOBAL PROPERTY MORVANE_LAYERS "")

function(morvane_layer target folder)
  set_property(GLOBAL APPEND PROPERTY MORVANE_LAYERS ${target})
  set_property(GLOBAL PROPERTY MORVANE_LAYER_FOLDER_${target} "${folder}")
  set_property(GLOBAL PROPERTY MORVANE_LAYER_LINKS_${target} "${ARGN}")
endfunction()

function(morvane_add_layer target)
  get_property(folder GLOBAL PROPERTY MORVANE_LAYER_FOLDER_${target})
  if(NOT folder)
    message(FATAL_ERROR "${target} has no row in the layer table (top-level CMakeLists.txt)")
  endif()
  if(NOT CMAKE_CURRENT_SOURCE_DIR STREQUAL "${PROJECT_SOURCE_DIR}/${folder}")
    message(FATAL_ERROR "${target} belongs to ${folder}/, not to ${CMAKE_CURRENT_SOURCE_DIR}")
  endif()
  add_library(${target} STATIC ${ARGN})
  target_link_libraries(${target} PRIVATE morvane_config)
  # Position-independent, so the link check can build it into a shared library.
  set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
endfunction()

# Every layer the given one may use, below it however far, and the libraries they may link.
function(morvane_layers_reached target out)
  get_property(layers GLOBAL PROPERTY MORVANE_LAYERS)
  set(reached "")
  set(pending ${target})
  while(pending)
    list(POP_FRONT pending current)
    get_property(links GLOBAL PROPERTY MORVANE_LAYER_LINKS_${current})
    foreach(link IN LISTS links)
      if(NOT link IN_LIST reached)
        list(APPEND reached ${link})
        if(link IN_LIST layers)
          list(APPEND pending ${link})
        endif()
      endif()
    endforeach()
  endwhile()
  set(${out} "${reached}" PARENT_SCOPE)
endfunction()

function(morvane_check_layers)
  get_property(layers GLOBAL PROPERTY MORVANE_LAYERS)
  set(table "# Written by cmake/MorvaneLayers.cmake from the layer table, for check_includes.cmake.\n")
  string(APPEND table "set(layers ${layers})\n")
  set(sources "")
  foreach(target IN LISTS layers)
    if(NOT TARGET ${target})
      message(FATAL_ERROR "The layer table names ${target}, which no folder makes")
    endif()
    get_property(folder GLOBAL PROPERTY MORVANE_LAYER_FOLDER_${target})
    get_property(allowed GLOBAL PROPERTY MORVANE_LAYER_LINKS_${target})

    # Downward only: a row may name only layers of the rows before it, so the table cannot
    # go round in a circle.
    list(FIND layers ${target} position)
    foreach(link IN LISTS allowed)
      list(FIND layers ${link} below)
      if(below GREATER_EQUAL position)
        message(FATAL_ERROR "The layer table lets ${target} link ${link}, whose row is not above its own")
      endif()
    endforeach()

    # The links as the folder wrote them, PUBLIC and PRIVATE alike. Qt adds the objects of a
    # static library's resources as generator expressions; they are the library's own.
    get_target_property(links ${target} LINK_LIBRARIES)
    foreach(link IN LISTS links)
      if(link STREQUAL "morvane_config" OR link MATCHES "^\\$<" OR link MATCHES "_resources_[0-9]+$")
        continue()
      endif()
      if(NOT link IN_LIST allowed)
        string(REPLACE ";" ", " shown "${allowed}")
        message(FATAL_ERROR "${target} (${folder}/) links ${link}, which the layer table does not allow; "
                            "it may link: ${shown}")
      endif()
    endforeach()

    morvane_layers_reached(${target} reached)
    set(folders "${folder}")
    set(widgets FALSE)
    foreach(link IN LISTS reached)
      if(link IN_LIST layers)
        get_property(below GLOBAL PROPERTY MORVANE_LAYER_FOLDER_${link})
        list(APPEND folders "${below}")
      elseif(link MATCHES "^Qt6::(Gui|Widgets)$")
        set(widgets TRUE)
      endif()
    endforeach()
    string(APPEND table "set(layer_${target}_folder \"${folder}\")\n"
                        "set(layer_${target}_may_include ${folders})\n"
                        "set(layer_${target}_widgets ${widgets})\n")
    file(GLOB folder_sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${folder}/*.h" "${PROJECT_SOURCE_DIR}/${folder}/*.cpp")
    list(APPEND sources ${folder_sources})

    if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND NOT MORVANE_SANITIZE AND NOT MORVANE_FUZZ)
      set(stub "${CMAKE_CURRENT_BINARY_DIR}/layers/${target}_alone.cpp")
      file(GENERATE OUTPUT "${stub}" CONTENT "// all of ${target}, resolved by its own links alone\n")
      add_library(${target}_alone SHARED "${stub}")
      target_link_libraries(${target}_alone PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${target}>")
      # Stripped: only whether it links matters.
      target_link_options(${target}_alone PRIVATE -Wl,--no-undefined -s)
      set_target_properties(${target}_alone PROPERTIES LIBRARY_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/layers")
    endif()
  endforeach()

  set(table_file "${CMAKE_CURRENT_BINARY_DIR}/layers/layers.cmake")
  # Rewritten only when it changes, so a new configure alone does not run the check again.
  file(CONFIGURE OUTPUT "${table_file}" CONTENT "${table}" @ONLY)
  set(check_command
      "${CMAKE_COMMAND}" -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DLAYERS=${table_file}
      -DQT_HEADERS=${QT6_INSTALL_PREFIX}/${QT6_INSTALL_HEADERS}
      -P "${PROJECT_SOURCE_DIR}/tests/check_includes.cmake")
  # For the test that runs the same check.
  set(MORVANE_INCLUDE_CHECK_COMMAND "${check_command}" PARENT_SCOPE)
  set(stamp "${CMAKE_CURRENT_BINARY_DIR}/layers/includes.checked")
  add_custom_command(OUTPUT "${stamp}"
    COMMAND ${check_command}
    COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}"
    DEPENDS ${sources} "${table_file}" "${PROJECT_SOURCE_DIR}/tests/check_includes.cmake"
    COMMENT "Checking that each folder includes only from the folders below it"
    VERBATIM)
  add_custom_target(morvane_layer_includes ALL DEPENDS "${stamp}")
endfunction()
