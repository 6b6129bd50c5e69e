# The product's folders are layers that depend one way: platform/ and host/
# at the bottom, smbios/ on bytes, variables/ and functions/ above it,
# plugin/ on top. Each folder is a library whose include root holds only that
# folder, so `#include "plugin/..."` from smbios/ fails to build unless
# smbios links the plugin layer, which it never does.
function(tarnwick_layer target folder)
  set(root ${PROJECT_BINARY_DIR}/layers/${folder})
  if(NOT EXISTS ${root}/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
  target_link_libraries(${target} PRIVATE tarnwick_warnings)
endfunction()
