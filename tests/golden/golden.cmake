# The golden-picture helper of the tests, built once for every test folder that includes this
# file. It reads and writes PNG files with Cairo, and knows the source folder's tests/golden/,
# where the committed pictures live and where FRUVANA_UPDATE_GOLDEN=1 rewrites them.
include_guard(GLOBAL)
find_package(PkgConfig REQUIRED)
pkg_check_modules(GOLDEN_CAIRO REQUIRED IMPORTED_TARGET GLOBAL cairo)
add_library(fruvana_golden STATIC ${CMAKE_CURRENT_LIST_DIR}/golden.cpp)
target_include_directories(fruvana_golden PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_definitions(fruvana_golden PRIVATE
  FRUVANA_GOLDEN_DIR="${CMAKE_CURRENT_LIST_DIR}")
target_link_libraries(fruvana_golden PUBLIC fruvana_platform GTest::gtest PRIVATE PkgConfig::GOLDEN_CAIRO)
