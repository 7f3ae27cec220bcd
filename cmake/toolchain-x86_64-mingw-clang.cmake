# Debian's clang and lld for 64-bit Windows, on mingw-w64's headers, libraries and C++ library:
# the second compiler the example host is built with, to catch code only g++ takes.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(RV_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${RV_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${RV_TRIPLE})
set(CMAKE_RC_COMPILER ${RV_TRIPLE}-windres)
# clang 14 does not find the C++ library of Debian's mingw-w64 g++ on its own (its folder is
# named after the thread model, 12-posix): name the newest.
file(GLOB RV_GCC_DIRS LIST_DIRECTORIES true /usr/lib/gcc/${RV_TRIPLE}/*-posix)
list(SORT RV_GCC_DIRS COMPARE NATURAL ORDER DESCENDING)
list(GET RV_GCC_DIRS 0 RV_GCC_DIR)
set(CMAKE_CXX_FLAGS_INIT "-isystem ${RV_GCC_DIR}/include/c++ -isystem ${RV_GCC_DIR}/include/c++/${RV_TRIPLE} -isystem ${RV_GCC_DIR}/include/c++/backward")
# That C++ library uses POSIX threads (winpthread), which g++-posix links by itself and clang
# does not; lld takes the library wherever it stands on the line.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${RV_GCC_DIR} -lpthread")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-fuse-ld=lld -L${RV_GCC_DIR} -lpthread")
set(CMAKE_FIND_ROOT_PATH /usr/${RV_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
