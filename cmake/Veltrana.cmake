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
