# Helpers shared by every subsystem's CMakeLists.txt.

# orvo_add_gtest(NAME SOURCES src... LIBS lib... [LABELS label...])
# One GoogleTest executable per subsystem, registered as a single ctest test
# so the suite stays quick to schedule on two cores.
function(orvo_add_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
    set(labels core ${ARG_LABELS})
    set_tests_properties(${name} PROPERTIES LABELS "${labels}"
        ENVIRONMENT "ORVO_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data;ORVO_SOURCE_DATA=${CMAKE_SOURCE_DIR}/data")
endfunction()

# orvo_add_qtest(NAME SOURCES src... LIBS lib... [LABELS label...])
# A Qt Test executable run offscreen.
function(orvo_add_qtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test Qt6::Widgets)
    add_test(NAME ${name} COMMAND ${name})
    set(labels ui ${ARG_LABELS})
    # Qt and fontconfig keep process-lifetime caches that LeakSanitizer
    # would report as leaks; the ASan checks proper stay on.
    set_tests_properties(${name} PROPERTIES LABELS "${labels}"
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0;ORVO_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data;ORVO_SOURCE_DATA=${CMAKE_SOURCE_DIR}/data")
endfunction()

# orvo_add_fuzz(NAME SOURCE file LIBS lib... CORPUS dir)
# With ORVO_FUZZ (clang) a real libFuzzer binary; always a plain driver that
# replays the seed corpus as a ctest test, so CI checks the targets with gcc.
# The libraries are instrumented by the top-level ORVO_FUZZ flags; here only
# the fuzz binary gets libFuzzer's main. `fuzz_targets` builds them all.
function(orvo_add_fuzz name)
    cmake_parse_arguments(ARG "" "SOURCE;CORPUS" "LIBS" ${ARGN})
    add_executable(${name}_replay ${ARG_SOURCE} ${CMAKE_SOURCE_DIR}/fuzz/ReplayMain.cpp)
    target_link_libraries(${name}_replay PRIVATE ${ARG_LIBS})
    add_test(NAME ${name}_corpus COMMAND ${name}_replay ${ARG_CORPUS})
    set_tests_properties(${name}_corpus PROPERTIES LABELS "core;fuzz")
    if(ORVO_FUZZ)
        add_executable(${name} ${ARG_SOURCE})
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
        target_link_libraries(${name} PRIVATE ${ARG_LIBS})
        if(NOT TARGET fuzz_targets)
            add_custom_target(fuzz_targets)
        endif()
        add_dependencies(fuzz_targets ${name} ${name}_replay)
    endif()
endfunction()
