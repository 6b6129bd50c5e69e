find_program(CMAKE_C_COMPILER NAMES ${TARNWICK_MINGW_PREFIX}-gcc-win32 ${TARNWICK_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${TARNWICK_MINGW_PREFIX}-g++-win32 ${TARNWICK_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${TARNWICK_MINGW_PREFIX}-windres)
find_program(TARNWICK_DLLTOOL NAMES ${TARNWICK_MINGW_PREFIX}-dlltool REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${TARNWICK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# No compiler runtime DLLs: the plug-in and the programs import only system
# DLLs (and the host's). Byte-identical output across build folders.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp -Wl,--disable-auto-image-base")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static -Wl,--no-insert-timestamp")
