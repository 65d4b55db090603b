# Shipped build: 32-bit Windows. Its tests run under (emulated) 32-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TESSAREL_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
