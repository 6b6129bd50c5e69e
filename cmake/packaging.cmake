# CPack: `cpack` in a build folder makes the release files of its platform.
# Windows (mingw-x64, mingw-x86): tarnwick-VERSION-windows-ARCH.zip with the
# files at its root. Linux: tarnwick_VERSION_amd64.deb and
# tarnwick-VERSION-linux-x86_64.tar.gz. scripts/release.sh takes the .deb
# from here and packs the archives itself, since CPack's archives list their
# entries in the order the file system gives them.
set(CPACK_PACKAGE_NAME tarnwick)
set(CPACK_PACKAGE_VENDOR "The Tarnwick developers")
set(CPACK_PACKAGE_CONTACT "The Tarnwick developers <tarnwick@users.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "SMBIOS values by name, for a command-line shell and on the command line")
set(CPACK_PACKAGE_HOMEPAGE_URL https://tarnwick.invalid/)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # tarnwick_windows_arch: x64 or x86, from cmake/install.cmake.
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME tarnwick-${PROJECT_VERSION}-windows-${tarnwick_windows_arch})
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  set(CPACK_GENERATOR TGZ DEB)
  set(CPACK_PACKAGE_FILE_NAME tarnwick-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # CPack puts the summary above it as the first line.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "tarnwick answers the ${TARNWICK_VARIABLE_COUNT} variables (_smbmfg, _smbserial, ...) and the\n"
    "${TARNWICK_FUNCTION_COUNT} functions (@smbstring, @smbword, ...) of the Tarnwick plug-in from the\n"
    "machine's SMBIOS table or from a dump file, and lists or dumps the table.\n"
    "The plug-in library in /usr/lib/x86_64-linux-gnu/tarnwick is the same core\n"
    "for programs that load it.")
  string(JOIN "" CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
  # Dependencies of the plug-in library from the system's shared libraries.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Tab completes names and options only where bash-completion loads the script.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS bash-completion)
endif()
include(CPack)
