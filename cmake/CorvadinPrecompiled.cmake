# Reading the Windows headers is about half of each source file's compile time, so they are precompiled once per
# build dir and reused by every product target and every test (corvadin_add_test). Only the Windows headers go in:
# GCC 12 does not keep the diagnostic pragmas of the standard library's headers in a precompiled header, so with
# them an optimised build reports overflows inside std::string that are not there. CMake adds -Winvalid-pch, so
# with -Werror a header that cannot be reused fails the build instead of silently costing its time again.

add_library(corvadin_precompiled OBJECT ${CMAKE_CURRENT_LIST_DIR}/Precompiled.cpp)
target_precompile_headers(corvadin_precompiled PRIVATE <windows.h> <commctrl.h>)

#   corvadin_precompile_folders(<folder>...)   every library and program with C++ sources in those folders
function(corvadin_precompile_folders)
  foreach(folder IN LISTS ARGN)
    if(NOT EXISTS ${PROJECT_SOURCE_DIR}/${folder}/CMakeLists.txt)
      continue()
    endif()
    get_property(targets DIRECTORY ${PROJECT_SOURCE_DIR}/${folder} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      get_target_property(sources ${target} SOURCES)
      if(type MATCHES "^(STATIC_LIBRARY|EXECUTABLE)$" AND sources MATCHES "\\.cpp(;|$)")
        target_precompile_headers(${target} REUSE_FROM corvadin_precompiled)
      endif()
    endforeach()
  endforeach()
endfunction()
