# The 32-bit Windows build with clang instead of GCC: the same MinGW-w64 headers, GCC's
# libstdc++ (POSIX-thread variant, see mingw-w64-i686.cmake), binutils linker and windres,
# so that a second compiler checks what the first one accepts.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(mingw_triple i686-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET ${mingw_triple})
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${mingw_triple})
set(CMAKE_RC_COMPILER ${mingw_triple}-windres)
set(CMAKE_AR ${mingw_triple}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${mingw_triple}-ranlib CACHE FILEPATH "")
set(CMAKE_SYSROOT /usr/${mingw_triple})

# clang does not recognise Debian's GCC folders (named like 12-posix), so it is told where
# libstdc++'s headers and GCC's libraries are.
file(GLOB gcc_folders /usr/lib/gcc/${mingw_triple}/*-posix)
list(SORT gcc_folders COMPARE NATURAL ORDER DESCENDING)
list(GET gcc_folders 0 gcc_folder)
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES
    ${gcc_folder}/include/c++ ${gcc_folder}/include/c++/${mingw_triple} ${gcc_folder}/include/c++/backward)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Floating point in SSE2 registers, not the x87 stack: the x87's 80-bit intermediates round
# other halves than every other build does (colour texts differed), and SSE2 lets loops
# vectorise. Every Windows Vindle runs on has SSE2.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

# As the GCC build: one self-contained executable. -pthread links winpthread, which the
# POSIX-thread libgcc needs and clang's driver leaves out otherwise.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-L${gcc_folder} -pthread -static -static-libgcc -static-libstdc++")

# CTest runs the test executables under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
