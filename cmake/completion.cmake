# The bash completion, written from the one option table (cli/option_table.h)
# and the names of the one list (cmake/names.cmake, included before): the
# options it offers, which of them take a FILE, a NAME or TYPEs, and the
# structure types that DSP0134 names (smbios/description/structure_types.cpp: types 0 up
# in order, then 126 and 127). Editing either file reconfigures.
set(option_file ${PROJECT_SOURCE_DIR}/cli/option_table.h)
set(types_file ${PROJECT_SOURCE_DIR}/smbios/description/structure_types.cpp)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${option_file} ${types_file})

# Each row opens with {"NAMES", Takes::KIND, WORD, and its help or nullptr.
file(READ ${option_file} text)
set(row "\\{\"([-a-z,]+)\", Takes::(k[A-Za-z]+), (nullptr|\"[A-Z]+\"), (nullptr)?")
string(REGEX MATCHALL "${row}" rows "${text}")
set(TARNWICK_OPTION_WORDS "")
foreach(kind FILE NAME TYPE)
  set(TARNWICK_${kind}_OPTIONS "")
endforeach()
foreach(option IN LISTS rows)
  string(REGEX MATCH "${row}" _ "${option}")
  if(CMAKE_MATCH_4 STREQUAL "nullptr")
    continue()  # not shown, not offered
  endif()
  string(REPLACE "," " " names "${CMAKE_MATCH_1}")
  list(APPEND TARNWICK_OPTION_WORDS ${names})
  string(REPLACE "\"" "" word "${CMAKE_MATCH_3}")
  if(word MATCHES "^(FILE|NAME|TYPE)$")
    list(APPEND TARNWICK_${word}_OPTIONS ${names})
  endif()
endforeach()
if(NOT TARNWICK_FILE_OPTIONS OR NOT TARNWICK_NAME_OPTIONS OR NOT TARNWICK_TYPE_OPTIONS)
  message(FATAL_ERROR "No FILE, NAME or TYPE options found in ${option_file}")
endif()
list(JOIN TARNWICK_OPTION_WORDS " " TARNWICK_OPTION_WORDS)
foreach(kind FILE NAME TYPE)
  list(JOIN TARNWICK_${kind}_OPTIONS " | " TARNWICK_${kind}_OPTIONS)  # a case pattern
endforeach()

file(READ ${types_file} text)
string(REGEX MATCH "kNames\\[\\] = {[^}]*}" names "${text}")
string(REGEX MATCHALL "\"[^\"]*\"" names "${names}")
list(LENGTH names count)
math(EXPR last "${count} - 1")
set(TARNWICK_TYPE_WORDS "")
foreach(type RANGE ${last})
  string(APPEND TARNWICK_TYPE_WORDS "${type} ")
endforeach()
string(APPEND TARNWICK_TYPE_WORDS "126 127")

list(JOIN TARNWICK_NAMES " " TARNWICK_NAME_WORDS)
configure_file(${PROJECT_SOURCE_DIR}/cli/tarnwick.bash-completion.in
  ${PROJECT_BINARY_DIR}/tarnwick.bash-completion @ONLY)
