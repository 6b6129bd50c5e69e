# The names of the one list (host/names.h), read at configure time:
#   TARNWICK_NAMES         as users write them: _smbmfg;...;@smbword
#   TARNWICK_EXPORT_NAMES  every export: the lifecycle and help, then one per name
#   TARNWICK_VARIABLE_COUNT, TARNWICK_FUNCTION_COUNT  for the documents
# and from them the module-definition file and the Linux version script, so
# that the libraries export exactly the list. Editing the list reconfigures.
set(list_file ${PROJECT_SOURCE_DIR}/host/names.h)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})
file(READ ${list_file} text)
# The rows follow the macro's own line; only their openings are taken: the
# help texts hold ";", which CMake's lists would split at.
string(FIND "${text}" "#define TARNWICK_NAMES(" rows_start)
string(SUBSTRING "${text}" ${rows_start} -1 text)
string(REGEX MATCHALL "(STRING|VARIABLE|FUNCTION)\\([ \t]*[a-z0-9_]+" rows "${text}")
set(TARNWICK_NAMES "")
set(TARNWICK_EXPORT_NAMES GetPluginInfo InitializePlugin ShutdownPlugin Help)
set(TARNWICK_VARIABLE_COUNT 0)
set(TARNWICK_FUNCTION_COUNT 0)
foreach(row IN LISTS rows)
  string(REGEX MATCH "(STRING|VARIABLE|FUNCTION)\\([ \t]*([a-z0-9_]+)" row "${row}")
  if(CMAKE_MATCH_1 STREQUAL "FUNCTION")
    list(APPEND TARNWICK_NAMES "@${CMAKE_MATCH_2}")
    list(APPEND TARNWICK_EXPORT_NAMES "f_${CMAKE_MATCH_2}")
    math(EXPR TARNWICK_FUNCTION_COUNT "${TARNWICK_FUNCTION_COUNT} + 1")
  else()
    list(APPEND TARNWICK_NAMES "${CMAKE_MATCH_2}")
    list(APPEND TARNWICK_EXPORT_NAMES "${CMAKE_MATCH_2}")
    math(EXPR TARNWICK_VARIABLE_COUNT "${TARNWICK_VARIABLE_COUNT} + 1")
  endif()
endforeach()

# Each name with the first line of its help's description, as
# `tarnwick --names` lists them (cli/name_listing.cpp, the same rule): the
# call form from the help's first line, the description's first line up to
# where it runs on. For the manual page's NAMES section and README.txt.
# A row: its kind and name, the help's first line, then the description's.
set(help_row "(STRING|VARIABLE|FUNCTION)\\([ \t]*([a-z0-9_]+)[^\n]*u\"([^\\\\]*)\\\\r\\\\n\\\\n([^\\\\]*)")
string(REGEX MATCHALL "${help_row}" helps "${text}")
set(TARNWICK_NAMES_MAN "")
set(TARNWICK_NAMES_TEXT "")
set(calls "")
set(width 0)
foreach(help IN LISTS helps)
  string(REGEX MATCH "${help_row}" _ "${help}")
  set(name ${CMAKE_MATCH_2})
  if(CMAKE_MATCH_1 STREQUAL "FUNCTION")
    set(name "@${name}")
  endif()
  set(first_line "${CMAKE_MATCH_3}")
  string(REGEX REPLACE " +$" "" summary "${CMAKE_MATCH_4}")
  string(REGEX MATCH "\\[.*\\]" arguments "${first_line}")
  string(REGEX REPLACE "(, or|:|\\.)$" "" summary "${summary}")
  set(call "${name}${arguments}")
  string(APPEND TARNWICK_NAMES_MAN ".TP\n.B ${call}\n${summary}\n")
  string(LENGTH "${call}" length)
  if(length GREATER width)
    set(width ${length})
  endif()
  string(APPEND calls "${call}\t${summary}\n")
endforeach()
string(REGEX MATCHALL "[^\n]+" call_lines "${calls}")
foreach(line IN LISTS call_lines)
  string(REGEX MATCH "^([^\t]*)\t(.*)$" _ "${line}")
  string(LENGTH "${CMAKE_MATCH_1}" length)
  math(EXPR blanks "${width} + 2 - ${length}")
  string(REPEAT " " ${blanks} padding)
  string(APPEND TARNWICK_NAMES_TEXT "    ${CMAKE_MATCH_1}${padding}${CMAKE_MATCH_2}\n")
endforeach()

if(NOT TARNWICK_NAMES)
  message(FATAL_ERROR "No names found in ${list_file}")
endif()

list(JOIN TARNWICK_EXPORT_NAMES "\n  " def_exports)
set(TARNWICK_DEF_FILE ${PROJECT_BINARY_DIR}/plugin/tarnwick.def)
file(CONFIGURE OUTPUT ${TARNWICK_DEF_FILE} CONTENT "LIBRARY Tarnwick.dll\nEXPORTS\n  ${def_exports}\n")
list(JOIN TARNWICK_EXPORT_NAMES ";\n    " map_exports)
set(TARNWICK_VERSION_SCRIPT ${PROJECT_BINARY_DIR}/plugin/tarnwick.map)
file(CONFIGURE OUTPUT ${TARNWICK_VERSION_SCRIPT} CONTENT "{\n  global:\n    ${map_exports};\n  local: *;\n};\n")
list(JOIN TARNWICK_EXPORT_NAMES "\n" exports_lines)
set(TARNWICK_EXPORTS_FILE ${PROJECT_BINARY_DIR}/plugin/exports.txt)
file(CONFIGURE OUTPUT ${TARNWICK_EXPORTS_FILE} CONTENT "${exports_lines}\n")
