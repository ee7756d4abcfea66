# Cross-compiles for 32-bit Windows (i686) with MinGW-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

# The POSIX thread model (GoogleTest needs std::mutex); the program itself uses no
# threads and is built so that no thread runtime is linked into it.
if(EXISTS /usr/bin/i686-w64-mingw32-g++-posix)
  set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
  set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
else()
  set(CMAKE_C_COMPILER i686-w64-mingw32-gcc)
  set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++)
endif()
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_AR i686-w64-mingw32-ar CACHE FILEPATH "")
set(CMAKE_RANLIB i686-w64-mingw32-ranlib CACHE FILEPATH "")
set(CMAKE_OBJDUMP i686-w64-mingw32-objdump CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

