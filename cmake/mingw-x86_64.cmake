# Cross build of the Windows module with MinGW-w64 (x86_64) from Debian's packages.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QTA1_MINGW_TRIPLE x86_64-w64-mingw32)
# The win32 thread model: the module starts no threads and needs no
# libwinpthread.
set(CMAKE_C_COMPILER ${QTA1_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${QTA1_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${QTA1_MINGW_TRIPLE}-windres)
set(QTA1_WIDL ${QTA1_MINGW_TRIPLE}-widl)
set(QTA1_OBJDUMP ${QTA1_MINGW_TRIPLE}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${QTA1_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# widl imports stdole2.tlb from Wine's 64-bit library folder.
set(QTA1_STDOLE_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
set(QTA1_WIDL_TARGET -win64)
