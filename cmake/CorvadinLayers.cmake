# Which headers a target may include. Every header is included by its path from the repository root
# (#include "registry/RegistryKey.h"), but no target sees the whole root: each folder has a view directory in the
# build dir holding one link, named like the folder, to that folder. A library adds its folder's view to its
# public include directories, so a target sees exactly the folders of the libraries it links, directly or
# through them. An #include of a folder the target does not link, above it or beside it, fails to compile.
#
#   corvadin_folder_headers(<target> [<folder>])   folder defaults to the current source folder's name

function(corvadin_folder_headers target)
  if(ARGC GREATER 1)
    set(folder ${ARGV1})
  else()
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  endif()
  set(view ${CMAKE_BINARY_DIR}/include/${folder})
  if(NOT EXISTS ${view}/${folder})
    file(MAKE_DIRECTORY ${view})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${view}/${folder} SYMBOLIC)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${view})
  else()
    target_include_directories(${target} PUBLIC ${view})
  endif()
endfunction()
