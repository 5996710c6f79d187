# What turns a Corvadin executable into a release: the application manifest and the version resource.
# Included from the top-level CMakeLists.txt, so its targets exist before any program folder is added.
#
#   corvadin_version               INTERFACE: the generated CorvadinVersion.h (version, copyright, maker)
#   corvadin_release_resources     OBJECT: manifest and version of Corvadin.exe (requireAdministrator)
#   corvadin_cli_release_resources OBJECT: manifest and version of corvadin-cli.exe (asInvoker)

set(CORVADIN_COPYRIGHT "Copyright (C) 2026 The Corvadin developers")
set(CORVADIN_COMPANY "Quenmark")  # the maker's name, as in the settings key Software\Quenmark\Corvadin

set(CORVADIN_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/CorvadinVersion.h.in ${CORVADIN_GENERATED_DIR}/CorvadinVersion.h @ONLY)

add_library(corvadin_version INTERFACE)
target_include_directories(corvadin_version INTERFACE ${CORVADIN_GENERATED_DIR})

# windres does not report the files an .rc pulls in, so list them for the rebuild.
set(_corvadin_release_inputs
  ${CMAKE_CURRENT_LIST_DIR}/ReleaseVersion.rc2
  ${CORVADIN_GENERATED_DIR}/CorvadinVersion.h)

function(_corvadin_release_library name rc manifest)
  add_library(${name} OBJECT ${CMAKE_CURRENT_LIST_DIR}/${rc})
  target_link_libraries(${name} PRIVATE corvadin_version corvadin_resource_ids)
  set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/${rc} PROPERTIES
    OBJECT_DEPENDS "${_corvadin_release_inputs};${CMAKE_CURRENT_LIST_DIR}/${manifest}")
endfunction()

_corvadin_release_library(corvadin_release_resources Release.rc Corvadin.manifest)
_corvadin_release_library(corvadin_cli_release_resources ReleaseCli.rc corvadin-cli.manifest)
