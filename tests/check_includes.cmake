# What the link check cannot see (see cmake/MorvaneLayers.cmake): an include costs the linker
# nothing when only a type, an inline function or a template of the header is used. Fails when
#   a folder includes a header from a folder its row of the layer table does not reach, or
#   a layer without Qt Gui and Widgets includes a header of theirs.
# Run with -DSOURCE_DIR=<checkout> -DLAYERS=<the table as the build wrote it>
#          -DQT_HEADERS=<the folder holding QtCore/, QtGui/, QtWidgets/>.
cmake_minimum_required(VERSION 3.25)
include("${LAYERS}")

set(layer_folders "")
foreach(layer IN LISTS layers)
  list(APPEND layer_folders "${layer_${layer}_folder}")
endforeach()

# Whether a header in angle brackets belongs to Qt Gui or Qt Widgets: <QtGui/QImage>, or a
# name such as <QImage> or <qimage.h> that one of their folders holds.
function(is_widget_header header out)
  set(result FALSE)
  if(header MATCHES "^Qt(Gui|Widgets)(/|$)")
    set(result TRUE)
  elseif(EXISTS "${QT_HEADERS}/QtGui/${header}" OR EXISTS "${QT_HEADERS}/QtWidgets/${header}")
    set(result TRUE)
  endif()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

set(problems "")
foreach(layer IN LISTS layers)
  set(folder "${layer_${layer}_folder}")
  file(GLOB sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    file(RELATIVE_PATH shown "${SOURCE_DIR}" "${source}")
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[^\"<]*[\"<]([^\">]*)[\">].*$" "\\1" header "${line}")
      if(line MATCHES "^[^\"<]*<")
        if(NOT layer_${layer}_widgets)
          is_widget_header("${header}" widget)
          if(widget)
            string(APPEND problems "\n  ${shown} includes <${header}>, but ${layer} links no Qt Gui or Widgets")
          endif()
        endif()
        continue()
      endif()
      # A quoted name is found beside the file first, else from the checkout's root.
      if(EXISTS "${SOURCE_DIR}/${folder}/${header}")
        cmake_path(SET found NORMALIZE "${folder}/${header}")
      else()
        cmake_path(SET found NORMALIZE "${header}")
      endif()
      cmake_path(GET found PARENT_PATH from)
      if(from IN_LIST layer_folders AND NOT from IN_LIST layer_${layer}_may_include)
        string(APPEND problems "\n  ${shown} includes ${header}, from ${from}/, which ${layer} may not use")
      endif()
    endforeach()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "A folder includes what the layer table does not allow it:${problems}")
endif()
message(STATUS "Every folder includes only from the folders below it.")
