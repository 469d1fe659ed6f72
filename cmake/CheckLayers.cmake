# Fails when a source file under src/ includes a header of a layer above its own.
#
#   cmake -DSOURCE_DIR=<src> -DCORE_ORDER=a;b;... -DWIN32_ORDER=gui;a;... [-DSTAMP=<file>] -P CheckLayers.cmake
#
# Layers, lowest first: the portable cores in CORE_ORDER (src/<name>/*, src/<name>/host/*), then
# the Win32 libraries in WIN32_ORDER (src/gui/*, src/<name>/win32/*). A core may include the
# cores up to its own; a Win32 library every core and the Win32 libraries up to its own. The
# program's entry (src/app/Vindle.cpp) stands above everything.

function(layer_of path out_kind out_rank)
  # path relative to src/: "ruler/win32/MainForms.h", "gui/Forms.h", "color/ColorChart.h"
  string(REGEX MATCH "^([^/]+)/(win32/)?" head "${path}")
  set(name "${CMAKE_MATCH_1}")
  if(name STREQUAL "gui")
    set(kind win32)
  elseif(CMAKE_MATCH_2)
    set(kind win32)
  else()
    set(kind core)
  endif()
  if(kind STREQUAL "win32")
    list(FIND WIN32_ORDER "${name}" rank)
  else()
    list(FIND CORE_ORDER "${name}" rank)
  endif()
  set(${out_kind} ${kind} PARENT_SCOPE)
  set(${out_rank} ${rank} PARENT_SCOPE)
endfunction()

get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(violations "")
foreach(file ${files})
  if(file STREQUAL "app/Vindle.cpp")
    continue()
  endif()
  layer_of("${file}" kind rank)
  if(rank EQUAL -1)
    string(APPEND violations "  ${file}: its folder is in no layer (add it to the order in src/CMakeLists.txt)\n")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[^\"]+\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" target "${line}")
    if(NOT target MATCHES "/")
      continue()  # a generated header of the build folder, such as the version header
    endif()
    layer_of("${target}" target_kind target_rank)
    if(target_rank EQUAL -1)
      continue()  # not one of ours
    endif()
    set(upward FALSE)
    if(kind STREQUAL "core" AND target_kind STREQUAL "win32")
      set(upward TRUE)
    elseif(kind STREQUAL target_kind AND target_rank GREATER rank)
      set(upward TRUE)
    endif()
    if(upward)
      string(APPEND violations "  ${file} includes \"${target}\", a layer above its own\n")
    endif()
  endforeach()
endforeach()

if(violations)
  string(REPLACE ";" " " core_text "${CORE_ORDER}")
  string(REPLACE ";" " " win32_text "${WIN32_ORDER}")
  message(FATAL_ERROR "Upward includes (cores: ${core_text}; then Win32: ${win32_text}):\n${violations}")
endif()
if(STAMP)
  file(TOUCH "${STAMP}")
endif()
