# Strict warnings on g++, clang and mingw alike. They are errors where
# TARNWICK_WERROR is on (every preset, and so CI); a user's plain build keeps
# them warnings, so a newer compiler's new warning never stops it.
option(TARNWICK_WERROR "Treat compiler warnings as errors" OFF)
add_library(tarnwick_warnings INTERFACE)
target_compile_options(tarnwick_warnings INTERFACE
  -Wall -Wextra -Wshadow -Wformat=2 -Wsign-compare -Wvla $<$<BOOL:${TARNWICK_WERROR}>:-Werror>)
