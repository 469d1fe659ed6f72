# The program's version, from project(VERSION) alone: always four numbers (a missing one is 0),
# as the version resource, the application manifest and the release file names need them.
# Writes generated/VindleVersion.h and generated/Vindle.manifest into the build tree;
# VINDLE_GENERATED_DIR is where the resource script finds them.
foreach(part MAJOR MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    set(VINDLE_VERSION_${part} 0)
  else()
    set(VINDLE_VERSION_${part} ${PROJECT_VERSION_${part}})
  endif()
endforeach()
set(VINDLE_VERSION "${VINDLE_VERSION_MAJOR}.${VINDLE_VERSION_MINOR}.${VINDLE_VERSION_PATCH}.${VINDLE_VERSION_TWEAK}")

set(VINDLE_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/cmake/VindleVersion.h.in ${VINDLE_GENERATED_DIR}/VindleVersion.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/res/Vindle.manifest.in ${VINDLE_GENERATED_DIR}/Vindle.manifest @ONLY)
