# Cross-build for 64-bit Windows with mingw-w64; tests run through 64-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(RV_TRIPLE x86_64-w64-mingw32)
set(RV_WIDL_FLAGS --win64)
set(RV_CAN_RUN ON)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
