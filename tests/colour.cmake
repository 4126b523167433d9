# SPDX-License-Identifier: MIT
# The colour layer's tests, included from tests/CMakeLists.txt: two Qt Test
# executables, and Python checks that read what the layer writes with other
# programs' parsers and rank colours with scikit-image.
find_package(Qt6 REQUIRED COMPONENTS Test)
get_filename_component(TESSELLE_COLOUR_SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(TESSELLE_COLOUR_TESTS "${CMAKE_CURRENT_LIST_DIR}/colour")

# The shipped card and generated cards, shared by the tests and the sample
# writer; palette files built byte by byte, shared with test_export.
add_library(tesselle_colour_fixtures STATIC
  ${TESSELLE_COLOUR_TESTS}/ColourFixtures.cpp ${TESSELLE_COLOUR_TESTS}/ColourFixtures.h
  ${TESSELLE_COLOUR_TESTS}/PaletteBytes.cpp ${TESSELLE_COLOUR_TESTS}/PaletteBytes.h)
target_include_directories(tesselle_colour_fixtures PUBLIC ${TESSELLE_COLOUR_TESTS})
target_link_libraries(tesselle_colour_fixtures PUBLIC tesselle_colour)
target_compile_definitions(tesselle_colour_fixtures PRIVATE TESSELLE_SOURCE_DIR="${TESSELLE_COLOUR_SOURCE_DIR}")

foreach(test_name test_colour test_colour_palettes)
  add_executable(${test_name} ${TESSELLE_COLOUR_TESTS}/${test_name}.cpp)
  target_link_libraries(${test_name} PRIVATE tesselle_colour_fixtures PkgConfig::LCMS2 Qt6::Test)
  set_target_properties(${test_name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${test_name} COMMAND ${test_name})
  set_tests_properties(${test_name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 600)
endforeach()
# Palettes that other tools wrote, under tests/palettes.
target_compile_definitions(test_colour_palettes PRIVATE TESSELLE_SOURCE_DIR="${TESSELLE_COLOUR_SOURCE_DIR}")

add_executable(colour_samples ${TESSELLE_COLOUR_TESTS}/colour_samples.cpp)
target_link_libraries(colour_samples PRIVATE tesselle_colour_fixtures)
set_target_properties(colour_samples PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

add_test(NAME colour_palette_files
  COMMAND /usr/bin/python3 ${TESSELLE_COLOUR_TESTS}/check_palette_files.py $<TARGET_FILE:colour_samples>)
# Skipped (exit 77) where python3-skimage is not installed.
add_test(NAME colour_ciede2000_skimage
  COMMAND /usr/bin/python3 ${TESSELLE_COLOUR_TESTS}/check_ciede2000_ranking.py $<TARGET_FILE:colour_samples>)
# Colour-vision simulation and its confused pairs against colorspacious and
# scikit-image; skipped (exit 77) where either is missing.
add_test(NAME colour_vision_colorspacious
  COMMAND /usr/bin/python3 ${TESSELLE_COLOUR_TESTS}/check_vision.py $<TARGET_FILE:colour_samples>)
set_tests_properties(colour_palette_files colour_ciede2000_skimage colour_vision_colorspacious PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 600)
set_tests_properties(colour_ciede2000_skimage colour_vision_colorspacious PROPERTIES SKIP_RETURN_CODE 77)
