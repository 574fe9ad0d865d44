# tv_library(NAME DIRS dir... [EXCLUDE_DIRS dir...] [TOP_LEVEL_ONLY] LINKS target...)
# A library made of every .cpp/.h under the given source folders (paths relative
# to src/). New files are picked up at the next build without touching CMake.
function(tv_library name)
  cmake_parse_arguments(ARG "TOP_LEVEL_ONLY" "" "DIRS;EXCLUDE_DIRS;LINKS" ${ARGN})
  set(sources "")
  foreach(dir IN LISTS ARG_DIRS)
    if(ARG_TOP_LEVEL_ONLY)
      file(GLOB found CONFIGURE_DEPENDS
           "${TV_SRC}/${dir}/*.cpp" "${TV_SRC}/${dir}/*.h")
    else()
      file(GLOB_RECURSE found CONFIGURE_DEPENDS
           "${TV_SRC}/${dir}/*.cpp" "${TV_SRC}/${dir}/*.h")
    endif()
    list(APPEND sources ${found})
  endforeach()
  foreach(dir IN LISTS ARG_EXCLUDE_DIRS)
    list(FILTER sources EXCLUDE REGEX "^${TV_SRC}/${dir}/")
  endforeach()
  if(NOT sources)
    # A layer with no code yet still gives its dependants a target to link.
    set(sources "${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp")
    file(WRITE ${sources} "// This layer has no code yet.\n")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${TV_SRC})
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
endfunction()

# tv_tests(NAME DIRS dir... [TOP_LEVEL_ONLY] [SUFFIX _gui_test] LINKS target... LABEL label)
# One GoogleTest executable from the .cpp files under tests/<dir>, with the
# shared test main (it starts an off-screen QApplication). Without SUFFIX the
# files ending in _gui_test.cpp or _integration_test.cpp are left to the
# executables that name those suffixes.
function(tv_tests name)
  cmake_parse_arguments(ARG "TOP_LEVEL_ONLY" "LABEL;SUFFIX" "DIRS;LINKS" ${ARGN})
  set(sources "")
  foreach(dir IN LISTS ARG_DIRS)
    if(ARG_TOP_LEVEL_ONLY)
      file(GLOB found CONFIGURE_DEPENDS "${TV_TESTS}/${dir}/*.cpp")
    else()
      file(GLOB_RECURSE found CONFIGURE_DEPENDS "${TV_TESTS}/${dir}/*.cpp")
    endif()
    list(APPEND sources ${found})
  endforeach()
  if(ARG_SUFFIX)
    list(FILTER sources INCLUDE REGEX "${ARG_SUFFIX}\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "(_gui_test|_integration_test)\\.cpp$")
  endif()
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE tv_test_support ${ARG_LINKS})
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${ARG_LABEL} ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
