# What keeps compile times down, for every product library and program (corvadin_compile_folders) and every test
# (corvadin_add_test):
# - The Windows headers are precompiled once per build dir: reading them is about half of a source file's compile
#   time. Only they go in: GCC 12 does not keep the diagnostic pragmas of the standard library's headers in a
#   precompiled header, so with those an optimised build reports overflows inside std::string that are not there.
#   CMake adds -Winvalid-pch, so with -Werror a header that cannot be reused fails the build.
# - A target's sources are compiled up to eight to a file. Their file-scope names (anonymous namespaces, statics)
#   must therefore differ within a target, and no source may leave a macro or a using-directive to the next one;
#   a clash of names fails the compile.

add_library(corvadin_precompiled OBJECT ${CMAKE_CURRENT_LIST_DIR}/Precompiled.cpp)
target_precompile_headers(corvadin_precompiled PRIVATE <windows.h> <commctrl.h>)

function(corvadin_compile_fast target)
  target_precompile_headers(${target} REUSE_FROM corvadin_precompiled)
  set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
endfunction()

#   corvadin_compile_folders(<folder>...)   every library and program with C++ sources in those folders
function(corvadin_compile_folders)
  foreach(folder IN LISTS ARGN)
    if(NOT EXISTS ${PROJECT_SOURCE_DIR}/${folder}/CMakeLists.txt)
      continue()
    endif()
    get_property(targets DIRECTORY ${PROJECT_SOURCE_DIR}/${folder} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      get_target_property(sources ${target} SOURCES)
      if(type MATCHES "^(STATIC_LIBRARY|EXECUTABLE)$" AND sources MATCHES "\\.cpp(;|$)")
        corvadin_compile_fast(${target})
      endif()
    endforeach()
  endforeach()
endfunction()
