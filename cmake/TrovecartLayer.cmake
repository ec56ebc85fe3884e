# One static library per layer, made of every source file in its folder tree.
function(trovecart_layer name)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
endfunction()

# A GoogleTest executable made of every test file in the calling folder. REAL_TIME is a GoogleTest
# filter of tests that measure playback against the wall clock: ctest runs them while nothing else
# runs, because a test beside them can starve the audio driver's thread and their clock with it.
function(trovecart_test name)
    cmake_parse_arguments(ARG "" "REAL_TIME" "LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} tc_testsupport GTest::gtest GTest::gtest_main)
    # One value per property: gtest_discover_tests splits a list value into separate arguments.
    set(environment ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ENVIRONMENT_MODIFICATION "SDL_AUDIODRIVER=set:dummy")
    if(ARG_REAL_TIME)
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_FILTER "-${ARG_REAL_TIME}"
            PROPERTIES ${environment})
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_FILTER "${ARG_REAL_TIME}"
            PROPERTIES ${environment} RUN_SERIAL TRUE)
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${environment})
    endif()
endfunction()

# Copies Files/ next to an executable so it runs from the build folder.
function(trovecart_copy_files target)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${TROVECART_FILES_DIR} $<TARGET_FILE_DIR:${target}>/Files
        VERBATIM)
endfunction()
