# How Corvadin's tests run: every test executable goes through a Wine wrapper configured into the build dir.
#
#   corvadin_add_test(<name> SOURCES <files...> LIBS <libs...> [WINDOWS])
#
# builds executable <name> (linked with GoogleTest, the shared test main and LIBS) and registers one ctest
# entry <name>. WINDOWS marks a test that opens windows: they share the build's display, so they run one at a time.
# The 32-bit build runs under a newer Wine than the system's (see tools/wine-env.sh), which shows 32-bit windows.

# Each build dir gets its own X display so engineers with their own build dirs do not share windows.
if(CORVADIN_ARCH STREQUAL "x64")
  set(_corvadin_default_display :99)
else()
  set(_corvadin_default_display :98)
endif()
set(CORVADIN_DISPLAY ${_corvadin_default_display} CACHE STRING "X display (Xvfb) the tests' windows go to")
if(NOT CORVADIN_DISPLAY MATCHES "^:[0-9]+$")
  message(FATAL_ERROR "CORVADIN_DISPLAY must look like :99, not '${CORVADIN_DISPLAY}'")
endif()

set(CORVADIN_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
configure_file(${PROJECT_SOURCE_DIR}/tools/wine-exec.sh.in ${CMAKE_BINARY_DIR}/wine-exec.sh @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-exec.sh)

function(corvadin_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "WINDOWS" "" "SOURCES;LIBS")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "corvadin_add_test(${name}): unexpected arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_SOURCES)
    message(FATAL_ERROR "corvadin_add_test(${name}): no SOURCES")
  endif()

  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE corvadin_testmain ${arg_LIBS})
  # Compiled as the product is (cmake/CorvadinCompileTime.cmake): GoogleTest's headers are then read and its
  # templates instantiated once per batch of eight. Included into a batch, a test's fixture in an anonymous
  # namespace looks to GCC like a header's type with internal linkage; it is not one, so that warning alone is off.
  corvadin_compile_fast(${name})
  target_compile_options(${name} PRIVATE -Wno-subobject-linkage)

  add_test(NAME ${name} COMMAND ${name})
  # A broken Wine setup can end a program silently with exit code 0, so only GoogleTest's own success line
  # counts as a pass.
  set_tests_properties(${name} PROPERTIES
    PASS_REGULAR_EXPRESSION "\\[  PASSED  \\]"
    FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]"
    TIMEOUT 300)
  if(arg_WINDOWS)
    # Window tests share the build's display with its one keyboard focus and mouse: two at once would take each
    # other's input, so ctest -j runs them one at a time.
    set_tests_properties(${name} PROPERTIES LABELS window RESOURCE_LOCK corvadin_display)
  endif()
endfunction()
