# One library per source folder; its tests live in the folder's tests/ subfolder.
#   veltrana_library(<target> [QT] DEPS <targets...>)
function(veltrana_library target)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(NOT sources)
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
        target_link_libraries(${target} INTERFACE ${ARG_DEPS})
        return()
    endif()
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
endfunction()

#   veltrana_tests(<test-target> DEPS <targets...>)
# Every tests/*.cpp goes into one GoogleTest program run by ctest; widgets run offscreen.
function(veltrana_tests target)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.h)
    if(NOT sources)
        return()
    endif()
    add_executable(${target} ${sources})
    target_link_libraries(${target} PRIVATE ${ARG_DEPS} veltrana_testing GTest::gtest GTest::gmock
                                            GTest::gtest_main)
    target_compile_definitions(${target} PRIVATE
        VELTRANA_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/tests/data"
        VELTRANA_BINARY_DIR="${CMAKE_BINARY_DIR}")
    gtest_discover_tests(${target}
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_FONT_DPI=96;QT_SCALE_FACTOR=1"
        DISCOVERY_TIMEOUT 60)
endfunction()

#   veltrana_fuzz(<target> DEPS <targets...> INPUTS <folders...>)
# <target>.cpp in the calling folder defines LLVMFuzzerTestOneInput. Every build runs it over
# the INPUTS folders (seeds, and the regression/ folder of earlier findings) as a test; with
# VELTRANA_FUZZ it also becomes a libFuzzer program for tools/ci-fuzz.sh.
function(veltrana_fuzz target)
    cmake_parse_arguments(ARG "" "" "DEPS;INPUTS" ${ARGN})
    set(source ${CMAKE_CURRENT_SOURCE_DIR}/${target}.cpp)
    add_executable(${target}_replay ${source} ${PROJECT_SOURCE_DIR}/common/testing/replay/FuzzReplay.cpp)
    target_link_libraries(${target}_replay PRIVATE ${ARG_DEPS})
    add_test(NAME ${target}.inputs COMMAND ${target}_replay ${ARG_INPUTS})
    if(VELTRANA_FUZZ)
        add_executable(${target} ${source})
        target_link_options(${target} PRIVATE -fsanitize=fuzzer)
        target_link_libraries(${target} PRIVATE ${ARG_DEPS})
    endif()
endfunction()
