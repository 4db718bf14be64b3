# Native (Linux) configuration: the core's unit tests and the developer tools.
file(GLOB_RECURSE NATIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
# The hair cut-out's scripted operator and its JPEG camera serve the tests and the benchmarks.
add_executable(coiffure_tests ${NATIVE_TESTS} ${CMAKE_SOURCE_DIR}/tests/support/cutout_robot.cpp
                              ${CMAKE_SOURCE_DIR}/tests/support/jpeg_camera.cpp)
target_link_libraries(coiffure_tests PRIVATE coiffure_core gtest gtest_main)
target_include_directories(coiffure_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
# stb writes and reads the JPEGs the colour tests make; its code is not ours to sanitise.
target_include_directories(coiffure_tests SYSTEM PRIVATE /usr/include/stb)
set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/native/colour/stb_impl.cpp PROPERTIES
                            COMPILE_OPTIONS "-fno-sanitize=all;-w")
add_test(NAME native_unit_tests COMMAND coiffure_tests --gtest_brief=1
         WORKING_DIRECTORY ${CMAKE_BINARY_DIR})

add_executable(bmpdump ${CMAKE_SOURCE_DIR}/tools/bmpdump.cpp)
target_link_libraries(bmpdump PRIVATE coiffure_core)

# The artwork generator's drawing code is a library so that the unit tests can check its output.
file(GLOB ARTGEN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/artgen/*.cpp)
list(FILTER ARTGEN_SOURCES EXCLUDE REGEX "/main\\.cpp$")
if(ARTGEN_SOURCES)
  add_library(artgen_lib STATIC ${ARTGEN_SOURCES})
  target_link_libraries(artgen_lib PUBLIC coiffure_core)
  target_include_directories(artgen_lib PUBLIC ${CMAKE_SOURCE_DIR}/tools/artgen)
  add_executable(artgen ${CMAKE_SOURCE_DIR}/tools/artgen/main.cpp)
  target_link_libraries(artgen PRIVATE artgen_lib)
  target_link_libraries(coiffure_tests PRIVATE artgen_lib)
  # Sheets of the colour tests' photos recoloured, for looking at.
  add_executable(shade_sheet ${CMAKE_SOURCE_DIR}/tools/shade_sheet.cpp
                 ${CMAKE_SOURCE_DIR}/tests/native/colour/hair_photos.cpp
                 ${CMAKE_SOURCE_DIR}/tests/native/colour/stb_impl.cpp)
  target_link_libraries(shade_sheet PRIVATE artgen_lib)
  target_include_directories(shade_sheet PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_include_directories(shade_sheet SYSTEM PRIVATE /usr/include/stb)
endif()

file(GLOB_RECURSE BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
if(BENCH_SOURCES AND COIFFURE_BENCH)
  find_package(benchmark REQUIRED)
  find_package(OpenCV REQUIRED core imgproc)
  add_executable(coiffure_bench ${BENCH_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support/cutout_robot.cpp)
  target_link_libraries(coiffure_bench PRIVATE coiffure_core benchmark::benchmark ${OpenCV_LIBS})
  # The recolouring is timed on a shipped style, as artgen draws it.
  target_link_libraries(coiffure_bench PRIVATE artgen_lib)
  target_include_directories(coiffure_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/bench)
  target_include_directories(coiffure_bench SYSTEM PRIVATE ${OpenCV_INCLUDE_DIRS} /usr/include/stb)
endif()
