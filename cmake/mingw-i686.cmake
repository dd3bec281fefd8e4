# Cross build of the Windows module with MinGW-w64 (i686) from Debian's packages.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QTA1_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# widl imports stdole2.tlb from Wine's 32-bit library folder.
set(QTA1_STDOLE_DIR /usr/lib/i386-linux-gnu/wine/i386-windows)
set(QTA1_WIDL_TARGET -win32)

# Doubles are computed in SSE2 registers, rounded to double after every
# operation as on the native build. The x87 unit's wider intermediates would
# change truncations and comparisons (a reading of exactly -200.00 degrees
# would fall below -200.0), so the node would receive other bytes from the
# 32-bit module than from every other build.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
