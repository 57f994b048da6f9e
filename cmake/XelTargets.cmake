# Helpers shared by the folders' CMakeLists.
#
# xel_core_library(NAME [DEPENDS target...] [PRIVATE target...]) declares the library of one core
# folder from the sources in that folder: DEPENDS are the libraries its headers expose, PRIVATE the
# ones only its sources use. Core libraries must never reach Qt, and the Qt front end must never
# reach the data access; xel_check_core_has_no_qt() and xel_check_screen_has_no_data() enforce it
# once every target is known.

set_property(GLOBAL PROPERTY XEL_CORE_TARGETS "")

function(xel_core_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;PRIVATE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} PRIVATE ${ARG_PRIVATE})
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

# Fails the configuration when target, or anything it links, links a library whose name matches
# pattern; the message names the chain of links that reaches it (path: the chain up to target). A static library's private links count: they end
# up in the program all the same.
function(_xel_refuse_links target pattern what path seen_var)
  set(seen ${${seen_var}})
  if(NOT TARGET ${target} OR ${target} IN_LIST seen)
    set(${seen_var} ${seen} PARENT_SCOPE)
    return()
  endif()
  list(APPEND seen ${target})
  get_target_property(links ${target} LINK_LIBRARIES)
  get_target_property(ilinks ${target} INTERFACE_LINK_LIBRARIES)
  foreach(link IN LISTS links ilinks)
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
    if(link AND NOT link MATCHES "-NOTFOUND$")
      if(link MATCHES "${pattern}")
        message(FATAL_ERROR "${what}: ${path} -> ${link}")
      endif()
      _xel_refuse_links(${link} "${pattern}" "${what}" "${path} -> ${link}" seen)
    endif()
  endforeach()
  set(${seen_var} ${seen} PARENT_SCOPE)
endfunction()

function(xel_check_core_has_no_qt)
  get_property(targets GLOBAL PROPERTY XEL_CORE_TARGETS)
  foreach(target IN LISTS targets)
    set(seen "")
    _xel_refuse_links(${target} "Qt" "Core target reaches Qt" ${target} seen)
  endforeach()
endfunction()

# The screen only mirrors the forms: it has no business with a database driver.
function(xel_check_screen_has_no_data)
  if(TARGET xel_qt)
    set(seen "")
    _xel_refuse_links(xel_qt "^xel_data$|SQLite|sqlite3|ODBC|odbc"
                      "The Qt front end reaches the data access" xel_qt seen)
  endif()
endfunction()
