# orbilo_library(<name> SOURCES ... [QT <components>] [DEPENDS <libs>])
# One static library per subsystem folder; the folder's parent is on the
# include path so sources include "platform/IniFile.h" and the like.
function(orbilo_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;QT;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  foreach(component ${ARG_QT})
    target_link_libraries(${name} PUBLIC Qt6::${component})
  endforeach()
  if(ARG_DEPENDS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  endif()
endfunction()

# orbilo_test(<name> SOURCES ... DEPENDS <libs> [WIDGETS])
# One test executable per subsystem, run headless by CTest.
function(orbilo_test name)
  cmake_parse_arguments(ARG "WIDGETS" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} orbilo_test_main GTest::gtest GTest::gmock)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# orbilo_bench(<name> [QT_MAIN] SOURCES ... DEPENDS <libs>)
# QT_MAIN: the benchmark needs widgets and takes the shared main that makes
# a QApplication first.
function(orbilo_bench name)
  cmake_parse_arguments(ARG "QT_MAIN" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} benchmark::benchmark)
  if(ARG_QT_MAIN)
    target_link_libraries(${name} PRIVATE orbilo_qt_bench_main)
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()
