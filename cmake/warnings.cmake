# Strict warnings, none tolerated, on g++, clang and mingw alike.
add_library(tarnwick_warnings INTERFACE)
target_compile_options(tarnwick_warnings INTERFACE
  -Wall -Wextra -Wshadow -Wformat=2 -Wsign-compare -Wvla -Werror)
