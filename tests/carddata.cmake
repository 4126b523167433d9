# SPDX-License-Identifier: MIT
# test_carddata: the card's CSV against the palette movie, measured with
# Little CMS 2. Needs only Qt Core and Test, not the program's libraries.
find_package(Qt6 REQUIRED COMPONENTS Core Test)
find_path(LCMS2_INCLUDE_DIR lcms2.h REQUIRED)
find_library(LCMS2_LIBRARY NAMES lcms2 REQUIRED)

add_executable(test_carddata ${CMAKE_CURRENT_LIST_DIR}/test_carddata.cpp)
set_target_properties(test_carddata PROPERTIES AUTOMOC ON)
target_include_directories(test_carddata PRIVATE ${LCMS2_INCLUDE_DIR})
target_link_libraries(test_carddata PRIVATE Qt6::Core Qt6::Test ${LCMS2_LIBRARY})
get_filename_component(TESSELLE_CARDDATA_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
target_compile_definitions(test_carddata PRIVATE
  TESSELLE_SOURCE_DIR="${TESSELLE_CARDDATA_ROOT}")
add_test(NAME test_carddata COMMAND test_carddata)
