# The Windows release: 32-bit, so that it runs on 32- and 64-bit Windows and loads the 32-bit
# gds32.dll that the ERP ships beside its executables.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
