# Helpers shared by the folders' CMakeLists.
#
# xel_core_library(NAME [DEPENDS target...]) declares the library of one core folder from the
# sources in that folder. Core libraries must never reach Qt; xel_check_core_has_no_qt() enforces it
# once every target is known.

set_property(GLOBAL PROPERTY XEL_CORE_TARGETS "")

function(xel_core_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  set_property(GLOBAL APPEND PROPERTY XEL_CORE_TARGETS ${name})
endfunction()

# xel_core_test(NAME DEPENDS target...) builds the tests of one folder under tests/ into one
# executable and registers each test case with CTest.
function(xel_core_test name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  set_property(GLOBAL APPEND PROPERTY XEL_CORE_TARGETS ${name})
endfunction()

function(_xel_collect_links target out)
  set(seen ${${out}})
  if(NOT TARGET ${target} OR ${target} IN_LIST seen)
    set(${out} ${seen} PARENT_SCOPE)
    return()
  endif()
  list(APPEND seen ${target})
  get_target_property(links ${target} LINK_LIBRARIES)
  get_target_property(ilinks ${target} INTERFACE_LINK_LIBRARIES)
  foreach(link IN LISTS links ilinks)
    if(link AND NOT link MATCHES "-NOTFOUND$")
      if(link MATCHES "Qt")
        message(FATAL_ERROR "Core target reaches Qt through ${target} -> ${link}")
      endif()
      _xel_collect_links(${link} seen)
    endif()
  endforeach()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(xel_check_core_has_no_qt)
  get_property(targets GLOBAL PROPERTY XEL_CORE_TARGETS)
  foreach(target IN LISTS targets)
    set(seen "")
    _xel_collect_links(${target} seen)
  endforeach()
endfunction()

# xel_host_side(TARGET) marks code that uses the component's editor window from the host's side of
# the library boundary. The window's type information stays inside libXEL02.so, so the sanitizer
# build cannot check that code's virtual calls on it.
function(xel_host_side target)
  if(XEL_SANITIZE)
    target_compile_options(${target} PRIVATE -fno-sanitize=vptr)
  endif()
endfunction()
