# Cross-build for 32-bit Windows: the classic interface layout. Always built and linked; its tests
# run under 32-bit Wine when configured with -DRV_X86_WINE=ON (scripts/test.sh does that where
# the kernel runs 32-bit programs and wine32 is installed).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(RV_TRIPLE i686-w64-mingw32)
set(RV_WIDL_FLAGS --win32)
if(RV_X86_WINE)
  set(RV_CAN_RUN ON)
else()
  set(RV_CAN_RUN OFF)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
