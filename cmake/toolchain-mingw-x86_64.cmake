# Test build: 64-bit Windows, run under Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TESSAREL_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
