# Cross-build for 32-bit Windows: the classic interface layout. Built and linked, never run here.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(RV_TRIPLE i686-w64-mingw32)
set(RV_WIDL_FLAGS --win32)
set(RV_CAN_RUN OFF)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
