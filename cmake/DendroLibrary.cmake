# dendro_library(NAME DEPS...): one static library per source folder, built
# from every .cpp in the folder, exporting the project root as include path so
# that users write #include "rio/rio.h".
function(dendro_library name)
  file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${_sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# dendro_test_executable(NAME SOURCES LABELS DEPS...): one GoogleTest
# executable whose tests CTest discovers, with the build directory in the
# environment and the source directory compiled in.
function(dendro_test_executable name sources labels)
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE DENDRO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 3000 ENVIRONMENT "DENDRO_BUILD_DIR=${PROJECT_BINARY_DIR}")
  # The discovery passes its properties on as separate words, which would
  # split a list of labels; so the labels are set once the discovered tests
  # are known, by a file CTest reads after the discovery's own.
  set(_labels_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake)
  file(WRITE ${_labels_file}
    "if(${name}_TESTS)\n  set_tests_properties(\${${name}_TESTS} PROPERTIES LABELS \"${labels}\")\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${_labels_file})
endfunction()

# dendro_test_suite(FOLDER DEPS...): tests/FOLDER/*_test.cpp form the quick
# suite FOLDER_tests; tests/FOLDER/*_longtest.cpp form FOLDER_longtests,
# labelled "long" so that a developer can leave them out with ctest -LE long.
# Every test is labelled with its folder too, so ctest -L FOLDER runs one.
function(dendro_test_suite folder)
  file(GLOB _quick CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*_test.cpp)
  file(GLOB _long CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*_longtest.cpp)
  file(GLOB _support CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/support/*.cpp)
  if(_quick)
    dendro_test_executable(${folder}_tests "${_quick};${_support}" "quick;${folder}" ${ARGN})
  endif()
  if(_long)
    dendro_test_executable(${folder}_longtests "${_long};${_support}" "long;${folder}" ${ARGN})
  endif()
endfunction()
