# Cross-compiles the Qt-free core for Windows with Debian's MinGW-w64, to keep
# the Windows branches building.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
