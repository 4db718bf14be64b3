# Windows configuration: Coiffure.exe, its integration tests, and the staged release folder.
enable_language(RC)

add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)
if(MINGW)
  add_link_options(-static -static-libgcc -static-libstdc++)
  # GCC cannot align the Windows stack to 32 bytes, yet would spill AVX registers there with
  # aligned moves (the AVX2 loops spill none today); the assembler makes every aligned move an
  # unaligned one, which costs nothing on aligned data.
  add_compile_options(-Wa,-muse-unaligned-vector-move)
endif()
set(WIN_LIBS comctl32 gdi32 vfw32 shell32 comdlg32 user32 kernel32 msimg32 uxtheme)

# Artwork and the shipped hairstyles are drawn by artgen, a host tool.
set(ART_DIR ${CMAKE_BINARY_DIR}/art)
file(GLOB ARTGEN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/artgen/*.cpp
     ${CMAKE_SOURCE_DIR}/tools/artgen/*.h)
if(CMAKE_CROSSCOMPILING)
  if(NOT COIFFURE_HOST_TOOLS)
    message(FATAL_ERROR "Set COIFFURE_HOST_TOOLS to the native build's folder holding artgen")
  endif()
  set(ARTGEN ${COIFFURE_HOST_TOOLS}/artgen)
else()
  list(FILTER ARTGEN_SOURCES INCLUDE REGEX "\\.cpp$")
  add_executable(artgen ${ARTGEN_SOURCES})
  target_link_libraries(artgen PRIVATE coiffure_core)
  set(ARTGEN $<TARGET_FILE:artgen>)
endif()
add_custom_command(OUTPUT ${ART_DIR}/stamp
  COMMAND ${ARTGEN} ${ART_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${ART_DIR}/stamp
  DEPENDS ${ARTGEN_SOURCES}
  COMMENT "Drawing artwork and hairstyles")
add_custom_target(artwork DEPENDS ${ART_DIR}/stamp)

configure_file(${CMAKE_SOURCE_DIR}/resources/coiffure.rc.in ${CMAKE_BINARY_DIR}/coiffure.rc @ONLY)
set(RC_FILE ${CMAKE_BINARY_DIR}/coiffure.rc)
set_source_files_properties(${RC_FILE} PROPERTIES OBJECT_DEPENDS
  "${ART_DIR}/stamp;${CMAKE_SOURCE_DIR}/resources/coiffure.manifest;${CMAKE_SOURCE_DIR}/resources/resource.h")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR}/resources")

add_library(coiffure_win STATIC ${WIN_SOURCES})
target_link_libraries(coiffure_win PUBLIC coiffure_core ${WIN_LIBS})
target_include_directories(coiffure_win PUBLIC ${CMAKE_SOURCE_DIR}/resources)

add_executable(Coiffure WIN32 ${CMAKE_SOURCE_DIR}/src/app/entry_win.cpp ${RC_FILE})
target_link_libraries(Coiffure PRIVATE coiffure_win)
if(MINGW)
  # Stripped: the release folder should stay small.
  target_link_options(Coiffure PRIVATE -municode -s -Wl,--gc-sections)
endif()
add_dependencies(Coiffure artwork)

# CoiffureImport.exe: picture files to hairstyle pairs, through the platform's imaging component.
add_library(coiffure_import_win STATIC ${IMPORT_WIN_SOURCES})
target_link_libraries(coiffure_import_win PUBLIC coiffure_win ole32 windowscodecs uuid)
configure_file(${CMAKE_SOURCE_DIR}/resources/import.rc.in ${CMAKE_BINARY_DIR}/import.rc @ONLY)
set(IMPORT_RC_FILE ${CMAKE_BINARY_DIR}/import.rc)
set_source_files_properties(${IMPORT_RC_FILE} PROPERTIES OBJECT_DEPENDS
  "${ART_DIR}/stamp;${CMAKE_SOURCE_DIR}/resources/import.manifest;${CMAKE_SOURCE_DIR}/resources/resource.h")
add_executable(CoiffureImport WIN32 ${CMAKE_SOURCE_DIR}/src/desk/desk_entry_win.cpp
               ${IMPORT_RC_FILE})
target_link_libraries(CoiffureImport PRIVATE coiffure_import_win)
if(MINGW)
  target_link_options(CoiffureImport PRIVATE -municode -s -Wl,--gc-sections)
endif()
add_dependencies(CoiffureImport artwork)

# The release folder a user copies to a Windows PC.
set(STAGE_DIR ${CMAKE_BINARY_DIR}/Coiffure)
find_program(CHMCMD chmcmd)
set(HELP_CHM ${CMAKE_BINARY_DIR}/help/help.chm)
file(GLOB_RECURSE HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/ml_help/*)
find_program(ICONV iconv)
if(CHMCMD AND ICONV AND EXISTS ${CMAKE_SOURCE_DIR}/data/ml_help/help.hhp)
  add_custom_command(OUTPUT ${HELP_CHM}
    COMMAND ${CMAKE_SOURCE_DIR}/tools/build-help.sh ${CMAKE_SOURCE_DIR}/data/ml_help
            ${CMAKE_BINARY_DIR}/help
    DEPENDS ${HELP_SOURCES} ${CMAKE_SOURCE_DIR}/tools/build-help.sh
    COMMENT "Compiling help.chm")
  set(HELP_DEP ${HELP_CHM})
  add_test(NAME help_chm_readable COMMAND ${CMAKE_SOURCE_DIR}/tools/check-help.sh ${HELP_CHM})
endif()
add_custom_target(stage ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${STAGE_DIR}/ml_data ${STAGE_DIR}/ml_fx ${STAGE_DIR}/ml_help
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Coiffure> ${STAGE_DIR}/
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:CoiffureImport> ${STAGE_DIR}/
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/data/ml_data/test.bmp ${STAGE_DIR}/ml_data/
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${ART_DIR}/ml_data ${STAGE_DIR}/ml_data
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${ART_DIR}/ml_fx ${STAGE_DIR}/ml_fx
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/data/config.ini ${STAGE_DIR}/
  COMMAND ${CMAKE_COMMAND} -DSRC=${HELP_CHM} -DDST=${STAGE_DIR}/ml_help -P ${CMAKE_SOURCE_DIR}/cmake/copy_if_exists.cmake
  DEPENDS Coiffure CoiffureImport artwork ${HELP_DEP}
  COMMENT "Staging the release folder ${STAGE_DIR}")

# Integration tests: the real windows, in-process, under Wine.
file(GLOB_RECURSE WINE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/*.cpp)
add_executable(coiffure_wine_tests ${WINE_TESTS} ${RC_FILE})
target_link_libraries(coiffure_wine_tests PRIVATE coiffure_win coiffure_import_win version shlwapi gtest)
target_include_directories(coiffure_wine_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(coiffure_wine_tests PRIVATE COIFFURE_VERSION="${PROJECT_VERSION}")
add_dependencies(coiffure_wine_tests stage)
add_test(NAME wine_integration_tests COMMAND coiffure_wine_tests --gtest_brief=1
         WORKING_DIRECTORY ${STAGE_DIR})
set_tests_properties(wine_integration_tests PROPERTIES TIMEOUT 900)

# A developer tool that shows the dialogs no command opens, for screenshots.
add_executable(coiffure_shots tools/shots/shots_win.cpp tools/shots/scan_timing_win.cpp
               tools/shots/desk_timing_win.cpp tools/shots/shade_timing_win.cpp
               tools/shots/cutout_shots_win.cpp ${RC_FILE})
target_link_libraries(coiffure_shots PRIVATE coiffure_win coiffure_import_win psapi)
if(MINGW)
  target_link_options(coiffure_shots PRIVATE -municode)
endif()

# The portable zip a salon downloads (`make dist`): one folder Coiffure/ holding the staged
# release folder as it is.
install(DIRECTORY ${STAGE_DIR}/ DESTINATION Coiffure USE_SOURCE_PERMISSIONS)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Coiffure)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Coiffure-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
if(CMAKE_HOST_UNIX)  # the check is a shell script
  add_test(NAME dist_zip_holds_the_release_folder
           COMMAND ${CMAKE_SOURCE_DIR}/tools/check-dist.sh ${CMAKE_CPACK_COMMAND} ${CMAKE_BINARY_DIR}
                   ${STAGE_DIR} Coiffure-${PROJECT_VERSION}-win64.zip)
endif()
