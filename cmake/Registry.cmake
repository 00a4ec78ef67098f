# Every folder names its own sources and tests with these functions; the targets
# are made once, at the end of the top-level list, for whichever build this is.
#   vn_layer(folder deps...)       declares a folder's library and what it builds on
#   vn_core_sources(files...)      portable code, no <windows.h>; built everywhere
#   vn_win_sources(files...)       Windows-only code of the program
#   vn_app_sources(files...)       the program's entry point and resources
#   vn_core_test(name files...)    GoogleTest executable for portable code
#   vn_win_test(name files...)     GoogleTest executable run under Wine
#   vn_fuzz_target(name file)      libFuzzer target; seeds in tests/fuzz/corpus/<name>
#   vn_bench(name core|win files...)
#   vn_test_support(files...)      helpers shared by the tests and benches (tests/support)
#
# Each folder of the program is two libraries: vn_<folder> (its portable sources)
# and, in the Windows build, vn_<folder>_win (its Windows sources). A library sees
# the headers of its own folder and of the folders it declares (and theirs), and
# no others: its include path holds a generated directory per folder, so
# `#include "main/..."` from a folder that does not build on main is a compile
# error. Since a folder may only build on folders declared before it, the layers
# have no cycles. Tests and benches see everything; they link vn_test_support
# (vn_test_support_win in the Windows build), the helpers they share, which may
# use any folder of the program and which no folder of the program sees.

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
# The folder of the CMakeLists.txt that calls, relative to the top of the tree.
function(_vn_folder out)
    file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    set(${out} ${rel} PARENT_SCOPE)
endfunction()

function(vn_layer name)
    get_property(known GLOBAL PROPERTY VN_LAYERS)
    foreach(dep ${ARGN})
        if(NOT dep IN_LIST known)
            message(FATAL_ERROR "vn_layer(${name}): '${dep}' is not a layer declared before it")
        endif()
    endforeach()
    set_property(GLOBAL APPEND PROPERTY VN_LAYERS ${name})
    set_property(GLOBAL PROPERTY VN_LAYER_DEPS_${name} ${ARGN})
endfunction()

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
    _vn_folder(folder)
    set_property(GLOBAL APPEND PROPERTY VN_SOURCE_FOLDERS ${folder})
    set_property(GLOBAL APPEND PROPERTY VN_CORE_SOURCES_${folder} ${files})
endfunction()

function(vn_win_sources)
    _vn_abs(files ${ARGN})
    _vn_folder(folder)
    set_property(GLOBAL APPEND PROPERTY VN_SOURCE_FOLDERS ${folder})
    set_property(GLOBAL APPEND PROPERTY VN_WIN_SOURCES_${folder} ${files})
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

function(vn_test_support)
    _vn_abs(files ${ARGN})
    set_property(GLOBAL APPEND PROPERTY VN_TEST_SUPPORT ${files})
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

# The helpers shared by tests and benches, header-only: vn_test_support over the
# portable core, and in the Windows build vn_test_support_win over the program.
function(_vn_test_support_targets)
    get_property(files GLOBAL PROPERTY VN_TEST_SUPPORT)
    if(WIN32)
        # Wine maps the Unix root to drive Z:.
        set(src "Z:${CMAKE_SOURCE_DIR}")
    else()
        set(src "${CMAKE_SOURCE_DIR}")
    endif()
    add_library(vn_test_support INTERFACE ${files})
    target_compile_definitions(vn_test_support INTERFACE VN_SOURCE_DIR="${src}")
    # Tests see the whole tree; the layers bind the program's own libraries.
    target_include_directories(vn_test_support INTERFACE ${CMAKE_SOURCE_DIR}
                               ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(vn_test_support INTERFACE vn_core)
    if(WIN32)
        add_library(vn_test_support_win INTERFACE)
        target_link_libraries(vn_test_support_win INTERFACE vn_test_support vn_win)
    endif()
endfunction()

# The include directory of one folder: a forwarding header per header of the
# folder, at <dir>/<folder>/<name>, so the folder's own spelling of its includes
# works and the directory gives access to that folder alone. A header of the
# folder that is gone loses its forwarder at the next configure.
function(_vn_layer_include_dir layer out)
    set(dir ${CMAKE_BINARY_DIR}/vn_include/${layer})
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${layer}/*.h)
    file(GLOB old ${dir}/${layer}/*.h)
    set(made)
    foreach(h ${headers})
        get_filename_component(name ${h} NAME)
        set(fwd ${dir}/${layer}/${name})
        file(CONFIGURE OUTPUT ${fwd}
             CONTENT "// Generated by cmake/Registry.cmake: forwards to the header of the folder.\n#include \"${h}\"\n"
             @ONLY)
        list(APPEND made ${fwd})
    endforeach()
    foreach(f ${old})
        if(NOT f IN_LIST made)
            file(REMOVE ${f})
        endif()
    endforeach()
    set(${out} ${dir} PARENT_SCOPE)
endfunction()

# A static library of the sources, or an interface library when they are all headers.
function(_vn_library target include_dir)
    set(compiled ${ARGN})
    list(FILTER compiled INCLUDE REGEX "\\.(c|cpp)$")
    if(compiled)
        add_library(${target} STATIC ${ARGN})
        target_include_directories(${target} PUBLIC ${include_dir})
    else()
        add_library(${target} INTERFACE ${ARGN})
        target_include_directories(${target} INTERFACE ${include_dir})
    endif()
endfunction()

function(_vn_link target)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_link_libraries(${target} INTERFACE ${ARGN})
    else()
        target_link_libraries(${target} PUBLIC ${ARGN})
    endif()
endfunction()

function(vn_make_targets)
    get_property(layers GLOBAL PROPERTY VN_LAYERS)
    get_property(folders GLOBAL PROPERTY VN_SOURCE_FOLDERS)
    foreach(folder ${folders})
        if(NOT folder IN_LIST layers)
            message(FATAL_ERROR "'${folder}' has sources but no vn_layer() in CMakeLists.txt")
        endif()
    endforeach()

    if(WIN32)
        add_library(vn_winapi INTERFACE)
        target_link_libraries(vn_winapi INTERFACE
            user32 gdi32 msimg32 comctl32 comdlg32 shell32 shlwapi advapi32 ole32 wininet)
    endif()

    set(core)
    add_library(vn_core INTERFACE)
    # The store writes in a thread of its own.
    find_package(Threads REQUIRED)
    target_link_libraries(vn_core INTERFACE Threads::Threads)
    if(WIN32)
        add_library(vn_win INTERFACE)
    endif()
    foreach(layer ${layers})
        get_property(deps GLOBAL PROPERTY VN_LAYER_DEPS_${layer})
        _vn_layer_include_dir(${layer} include_dir)

        get_property(sources GLOBAL PROPERTY VN_CORE_SOURCES_${layer})
        list(APPEND core ${sources})
        _vn_library(vn_${layer} ${include_dir} ${sources})
        foreach(dep ${deps})
            _vn_link(vn_${layer} vn_${dep})
        endforeach()
        target_link_libraries(vn_core INTERFACE vn_${layer})

        if(WIN32)
            get_property(sources GLOBAL PROPERTY VN_WIN_SOURCES_${layer})
            _vn_library(vn_${layer}_win ${include_dir} ${sources})
            _vn_link(vn_${layer}_win vn_${layer} vn_winapi)
            foreach(dep ${deps})
                _vn_link(vn_${layer}_win vn_${dep}_win)
            endforeach()
            target_link_libraries(vn_win INTERFACE vn_${layer}_win)
        endif()
    endforeach()

    if(WIN32)
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
    endif()

    _vn_test_support_targets()

    get_property(core_tests GLOBAL PROPERTY VN_CORE_TESTS)
    foreach(t ${core_tests})
        get_property(files GLOBAL PROPERTY VN_TEST_${t})
        add_executable(${t} ${files})
        target_link_libraries(${t} PRIVATE vn_test_support gtest gtest_main)
        add_test(NAME ${t} COMMAND ${t} --gtest_brief=1)
        if(WIN32)
            set_tests_properties(${t} PROPERTIES LABELS "wine;core")
        else()
            set_tests_properties(${t} PROPERTIES LABELS "native")
        endif()
    endforeach()

    if(WIN32)
        get_property(win_tests GLOBAL PROPERTY VN_WIN_TESTS)
        foreach(t ${win_tests})
            get_property(files GLOBAL PROPERTY VN_TEST_${t})
            add_executable(${t} ${files})
            target_link_libraries(${t} PRIVATE vn_test_support_win gtest gtest_main)
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
            # The whole portable core again, instrumented for the fuzzer.
            list(FILTER core INCLUDE REGEX "\\.(c|cpp)$")
            add_library(vn_core_fuzz STATIC ${core})
            target_include_directories(vn_core_fuzz PUBLIC ${CMAKE_SOURCE_DIR})
            target_compile_options(vn_core_fuzz PRIVATE -fsanitize=fuzzer-no-link)
            target_link_libraries(vn_core_fuzz PUBLIC Threads::Threads)
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
                target_link_libraries(${b} PRIVATE vn_test_support_win)
            else()
                target_link_libraries(${b} PRIVATE vn_test_support)
            endif()
        endforeach()
    endforeach()
endfunction()
