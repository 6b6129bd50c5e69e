# The host's library, from which Tarnwick.dll imports the host's services on
# Windows. Its name stands here alone: the import library's definition is
# written from it, the Wine tests' stand-in library is built under it, and
# scripts read it from the build folder's host_library.txt.
set(TARNWICK_HOST_LIBRARY TakeCmd.dll)
set(TARNWICK_HOST_SERVICES Printf Qprintf ExpandVariables)
list(JOIN TARNWICK_HOST_SERVICES "\n  " services)
set(TARNWICK_HOST_IMPORT_DEF ${PROJECT_BINARY_DIR}/plugin/host_services.def)
file(CONFIGURE OUTPUT ${TARNWICK_HOST_IMPORT_DEF} CONTENT "LIBRARY ${TARNWICK_HOST_LIBRARY}\nEXPORTS\n  ${services}\n")
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/host_library.txt CONTENT "${TARNWICK_HOST_LIBRARY}\n")
