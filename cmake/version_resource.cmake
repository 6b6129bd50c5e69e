# A Windows version resource (VERSIONINFO) for a module: what Explorer's
# properties and version-reading tools show. Numbers come from the project's
# one version; elsewhere than Windows nothing is added.
#   tarnwick_version_resource(TARGET "File description" OriginalName.dll)
if(WIN32)
  enable_language(RC)
endif()

function(tarnwick_version_resource target description original_filename)
  if(NOT WIN32)
    return()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(TARNWICK_RC_FILE_TYPE VFT_APP)
  else()
    set(TARNWICK_RC_FILE_TYPE VFT_DLL)
  endif()
  set(TARNWICK_RC_DESCRIPTION "${description}")
  set(TARNWICK_RC_ORIGINAL_FILENAME "${original_filename}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version_resource.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
