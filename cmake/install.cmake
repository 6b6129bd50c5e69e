# What `cmake --install` puts where. Windows: the plug-in, tarnwick.exe, a
# README.txt and the licence side by side at the root, as a user unzips them
# into the shell's plug-in folder. Linux: tarnwick in bin/, the plug-in
# library in lib/<multiarch>/tarnwick/, the manual page, the bash completion,
# and a user's README and the licence with a copyright file in Debian's format.
# TARNWICK_NAMES comes from cmake/names.cmake, included before.

# The completion offers every option and every name (cmake/completion.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/completion.cmake)

# The manual page's NAMES section and README.txt's list of names come from
# the list (cmake/names.cmake).
configure_file(${PROJECT_SOURCE_DIR}/cli/tarnwick.1 ${PROJECT_BINARY_DIR}/tarnwick.1 @ONLY)

if(WIN32)
  # README.txt names the version and its own zip, and has Windows line ends,
  # the names' lines too.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(tarnwick_windows_arch x64)
  else()
    set(tarnwick_windows_arch x86)
  endif()
  string(REPLACE "\n" "\r\n" TARNWICK_NAMES_TEXT "${TARNWICK_NAMES_TEXT}")
  configure_file(${PROJECT_SOURCE_DIR}/packaging/README.txt.in ${PROJECT_BINARY_DIR}/README.txt @ONLY
    NEWLINE_STYLE WIN32)
  # The import library is of no use to the shell: only with --component.
  install(TARGETS Tarnwick RUNTIME DESTINATION . ARCHIVE DESTINATION lib EXCLUDE_FROM_ALL COMPONENT development)
  if(TARGET tarnwick)
    install(TARGETS tarnwick RUNTIME DESTINATION .)
  endif()
  install(FILES ${PROJECT_BINARY_DIR}/README.txt ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
  return()
endif()

# A plug-in library is loaded, never run: no executable bit. Its private
# folder is under the multiarch one, which the dynamic linker's cache does
# not cover, so the package runs no ldconfig.
set(TARNWICK_LIBRARY_FOLDER lib/${CMAKE_LIBRARY_ARCHITECTURE}/tarnwick)
if(NOT CMAKE_LIBRARY_ARCHITECTURE)
  set(TARNWICK_LIBRARY_FOLDER lib/tarnwick)
endif()
install(TARGETS Tarnwick LIBRARY DESTINATION ${TARNWICK_LIBRARY_FOLDER}
  PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
if(TARGET tarnwick)
  install(TARGETS tarnwick RUNTIME DESTINATION bin)
endif()

# Manual page and changelog compressed as Debian expects, without a name or
# time stamp in the gzip header.
set(tarnwick_gzipped)
foreach(source IN ITEMS ${PROJECT_BINARY_DIR}/tarnwick.1 ${PROJECT_SOURCE_DIR}/packaging/changelog)
  get_filename_component(name ${source} NAME)
  set(gzipped ${PROJECT_BINARY_DIR}/${name}.gz)
  add_custom_command(OUTPUT ${gzipped}
    COMMAND sh -c "gzip -9nc \"$0\" >\"$1\"" ${source} ${gzipped}
    DEPENDS ${source} VERBATIM)
  list(APPEND tarnwick_gzipped ${gzipped})
endforeach()
add_custom_target(tarnwick_gzipped_docs ALL DEPENDS ${tarnwick_gzipped})

install(FILES ${PROJECT_BINARY_DIR}/tarnwick.1.gz DESTINATION share/man/man1)
install(FILES ${PROJECT_BINARY_DIR}/tarnwick.bash-completion DESTINATION share/bash-completion/completions
  RENAME tarnwick)
# tarnwick is linked statically on purpose (cli/CMakeLists.txt says why);
# the override tells lintian so.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides DESTINATION share/lintian/overrides RENAME tarnwick)
# The README for users: what tarnwick does, its names, examples and exit
# statuses (README.md is the developers').
configure_file(${PROJECT_SOURCE_DIR}/packaging/README.in ${PROJECT_BINARY_DIR}/README @ONLY)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${PROJECT_SOURCE_DIR}/LICENSE
  ${PROJECT_BINARY_DIR}/README ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION share/doc/tarnwick)
