# TARNWICK_NAMES: every name of the plug-in as users write it (_smbmfg,
# @smbword), read from the one list of names, for files generated at
# configure time. Rows are X(name); a name without the leading underscore
# is a function, which users call with "@".
set(TARNWICK_NAME_LIST ${PROJECT_SOURCE_DIR}/plugin/name_list.h)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TARNWICK_NAME_LIST})
# Each row ends in a backslash, which would escape CMake's list separator:
# the rows are matched in the whole text instead.
file(READ ${TARNWICK_NAME_LIST} tarnwick_name_text)
string(REGEX MATCHALL "\n *X\\([A-Za-z0-9_]+\\)" tarnwick_name_rows "${tarnwick_name_text}")
set(TARNWICK_NAMES)
foreach(row IN LISTS tarnwick_name_rows)
  string(REGEX REPLACE "^\n *X\\(([A-Za-z0-9_]+)\\)$" "\\1" name "${row}")
  if(NOT name MATCHES "^_")
    set(name "@${name}")
  endif()
  list(APPEND TARNWICK_NAMES ${name})
endforeach()
list(LENGTH TARNWICK_NAMES tarnwick_name_count)
if(tarnwick_name_count EQUAL 0)
  message(FATAL_ERROR "No names found in ${TARNWICK_NAME_LIST}")
endif()
unset(tarnwick_name_text)
unset(tarnwick_name_rows)
unset(tarnwick_name_count)
