# Every folder names its own sources and tests with these functions; the targets
# are made once, at the end of the top-level list, for whichever build this is.
#   vn_core_sources(files...)      portable code, no <windows.h>; built everywhere
#   vn_win_sources(files...)       Windows-only code of the program
#   vn_app_sources(files...)       the program's entry point and resources
#   vn_core_test(name files...)    GoogleTest executable for portable code
#   vn_win_test(name files...)     GoogleTest executable run under Wine
#   vn_fuzz_target(name file)      libFuzzer target; seeds in tests/fuzz/corpus/<name>
#   vn_bench(name core|win files...)

function(_vn_abs out)
    set(list)
    foreach(f ${ARGN})
        get_filename_component(a ${f} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
        list(APPEND list ${a})
    endforeach()
    set(${out} ${list} PARENT_SCOPE)
endfunction()

# A portable interface may have its platform half in Name_win.cpp and Name_posix.cpp;
# each build takes the half that fits it.
function(vn_core_sources)
    set(kept)
    foreach(f ${ARGN})
        if(WIN32 AND f MATCHES "_posix\\.cpp$")
            continue()
        elseif(NOT WIN32 AND f MATCHES "_win\\.cpp$")
            continue()
        endif()
        list(APPEND kept ${f})
    endforeach()
    _vn_abs(files ${kept})
    set_property(GLOBAL APPEND PROPERTY VN_CORE_SOURCES ${files})
endfunction()

function(vn_win_sources)
    _vn_abs(files ${ARGN})
    set_property(GLOBAL APPEND PROPERTY VN_WIN_SOURCES ${files})
endfunction()

function(vn_app_sources)
    _vn_abs(files ${ARGN})
    set_property(GLOBAL APPEND PROPERTY VN_APP_SOURCES ${files})
endfunction()

function(vn_core_test name)
    _vn_abs(files ${ARGN})
    set_property(GLOBAL APPEND PROPERTY VN_CORE_TESTS ${name})
    set_property(GLOBAL PROPERTY VN_TEST_${name} ${files})
endfunction()

function(vn_win_test name)
    _vn_abs(files ${ARGN})
    set_property(GLOBAL APPEND PROPERTY VN_WIN_TESTS ${name})
    set_property(GLOBAL PROPERTY VN_TEST_${name} ${files})
endfunction()

function(vn_fuzz_target name)
    _vn_abs(files ${ARGN})
    set_property(GLOBAL APPEND PROPERTY VN_FUZZ_TARGETS ${name})
    set_property(GLOBAL PROPERTY VN_TEST_${name} ${files})
endfunction()

function(vn_bench name kind)
    _vn_abs(files ${ARGN})
    set_property(GLOBAL APPEND PROPERTY VN_BENCH_${kind} ${name})
    set_property(GLOBAL PROPERTY VN_TEST_${name} ${files})
endfunction()

# Extra CTest labels, such as "twomon" for tests that need the two-monitor layout.
function(vn_test_labels name)
    set_property(GLOBAL APPEND PROPERTY VN_LABELS_${name} ${ARGN})
endfunction()

# A shell script that drives the real program; it gets the folder of Zephyn3.exe.
function(vn_e2e_test name script)
    _vn_abs(file ${script})
    set_property(GLOBAL APPEND PROPERTY VN_E2E_TESTS ${name})
    set_property(GLOBAL PROPERTY VN_TEST_${name} ${file})
endfunction()

function(_vn_labels t)
    get_property(extra GLOBAL PROPERTY VN_LABELS_${t})
    if(extra)
        get_test_property(${t} LABELS old)
        set_tests_properties(${t} PROPERTIES LABELS "${old};${extra}")
    endif()
endfunction()

function(_vn_test_defs target)
    if(WIN32)
        # Wine maps the Unix root to drive Z:.
        set(src "Z:${CMAKE_SOURCE_DIR}")
    else()
        set(src "${CMAKE_SOURCE_DIR}")
    endif()
    target_compile_definitions(${target} PRIVATE VN_SOURCE_DIR="${src}")
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
endfunction()

function(vn_make_targets)
    get_property(core GLOBAL PROPERTY VN_CORE_SOURCES)
    add_library(vn_core STATIC ${core})
    target_include_directories(vn_core PUBLIC ${CMAKE_SOURCE_DIR})

    get_property(core_tests GLOBAL PROPERTY VN_CORE_TESTS)
    foreach(t ${core_tests})
        get_property(files GLOBAL PROPERTY VN_TEST_${t})
        add_executable(${t} ${files})
        target_link_libraries(${t} PRIVATE vn_core gtest gtest_main)
        _vn_test_defs(${t})
        add_test(NAME ${t} COMMAND ${t} --gtest_brief=1)
        if(WIN32)
            set_tests_properties(${t} PROPERTIES LABELS "wine;core")
        else()
            set_tests_properties(${t} PROPERTIES LABELS "native")
        endif()
    endforeach()

    if(WIN32)
        get_property(win GLOBAL PROPERTY VN_WIN_SOURCES)
        file(WRITE ${CMAKE_BINARY_DIR}/vn_win_empty.cpp "")
        add_library(vn_win STATIC ${win} ${CMAKE_BINARY_DIR}/vn_win_empty.cpp)
        target_link_libraries(vn_win PUBLIC vn_core
            user32 gdi32 msimg32 comctl32 comdlg32 shell32 shlwapi advapi32 ole32 wininet)

        get_property(app GLOBAL PROPERTY VN_APP_SOURCES)
        add_executable(Zephyn3 WIN32 ${app})
        target_link_libraries(Zephyn3 PRIVATE vn_win)
        if(MINGW)
            target_link_options(Zephyn3 PRIVATE -municode)
        endif()

        # Languages and skins are installed beside the executable.
        add_custom_target(vn_data ALL
            COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/languages
                    ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Languages
            COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/skins
                    ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Skins
            VERBATIM)

        get_property(win_tests GLOBAL PROPERTY VN_WIN_TESTS)
        foreach(t ${win_tests})
            get_property(files GLOBAL PROPERTY VN_TEST_${t})
            add_executable(${t} ${files})
            target_link_libraries(${t} PRIVATE vn_win gtest gtest_main)
            _vn_test_defs(${t})
            add_dependencies(${t} vn_data)
            add_test(NAME ${t} COMMAND ${t} --gtest_brief=1)
            set_tests_properties(${t} PROPERTIES LABELS "wine")
            _vn_labels(${t})
        endforeach()

        get_property(e2e GLOBAL PROPERTY VN_E2E_TESTS)
        foreach(t ${e2e})
            get_property(script GLOBAL PROPERTY VN_TEST_${t})
            add_test(NAME ${t} COMMAND bash ${script} $<TARGET_FILE_DIR:Zephyn3>)
            set_tests_properties(${t} PROPERTIES LABELS "wine;e2e" RUN_SERIAL ON TIMEOUT 300)
            _vn_labels(${t})
        endforeach()
    endif()

    if(VN_FUZZ)
        get_property(fuzz GLOBAL PROPERTY VN_FUZZ_TARGETS)
        if(fuzz)
            add_library(vn_core_fuzz STATIC ${core})
            target_include_directories(vn_core_fuzz PUBLIC ${CMAKE_SOURCE_DIR})
            target_compile_options(vn_core_fuzz PRIVATE -fsanitize=fuzzer-no-link)
        endif()
        foreach(t ${fuzz})
            get_property(files GLOBAL PROPERTY VN_TEST_${t})
            add_executable(${t} ${files})
            target_link_libraries(${t} PRIVATE vn_core_fuzz)
            target_compile_options(${t} PRIVATE -fsanitize=fuzzer)
            target_link_options(${t} PRIVATE -fsanitize=fuzzer)
        endforeach()
    endif()

    foreach(kind core win)
        if(kind STREQUAL "win" AND NOT WIN32)
            continue()
        endif()
        get_property(benches GLOBAL PROPERTY VN_BENCH_${kind})
        foreach(b ${benches})
            get_property(files GLOBAL PROPERTY VN_TEST_${b})
            add_executable(${b} ${files})
            if(kind STREQUAL "win")
                target_link_libraries(${b} PRIVATE vn_win)
            else()
                target_link_libraries(${b} PRIVATE vn_core)
            endif()
            target_include_directories(${b} PRIVATE ${CMAKE_SOURCE_DIR})
        endforeach()
    endforeach()
endfunction()
