# Two builds of the same sources give the same bytes, whichever folders they ran in:
# no folder names in the objects, no time stamps in the archives or the PE header.
if(NOT MSVC)
  # The build folder usually lies inside the source folder: GCC tries the map given last
  # first, so the longer prefix comes second.
  add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>
                      $<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>)
  # Archives with zero times, owners and modes, whatever the distribution's default.
  foreach(lang C CXX)
    set(CMAKE_${lang}_ARCHIVE_CREATE "<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>")
    set(CMAKE_${lang}_ARCHIVE_APPEND "<CMAKE_AR> qD <TARGET> <LINK_FLAGS> <OBJECTS>")
    set(CMAKE_${lang}_ARCHIVE_FINISH "<CMAKE_RANLIB> -D <TARGET>")
  endforeach()
endif()
if(MINGW)
  # GNU ld writes the link time into the PE header unless told not to.
  add_link_options(-Wl,--no-insert-timestamp)
endif()
