# Cross build of the Windows module with MinGW-w64 (x86_64) from Debian's packages.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QTA1_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# widl imports stdole2.tlb from Wine's 64-bit library folder.
set(QTA1_STDOLE_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
set(QTA1_WIDL_TARGET -win64)
