# The installer and the portable zip of the Windows build (cpack in build/win).
#
# Both hold Zephyn3.exe with Languages\ and Skins\ beside it. The program writes
# only to the user's application-data folder, so the installed folder may stay
# read-only, and uninstalling removes the installed files and nothing else: the
# notes and settings stay for the next installation.
if(NOT WIN32 OR NOT TARGET Zephyn3)
    return()
endif()

install(TARGETS Zephyn3 RUNTIME DESTINATION . COMPONENT program)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/languages/ DESTINATION Languages COMPONENT program)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/skins/ DESTINATION Skins COMPONENT program)

# Packing takes what the build made; it need not build every test first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME "Vellomar Notes 3")
set(CPACK_PACKAGE_VENDOR "Vellomar")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sticky notes for the Windows desktop")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "VellomarNotes3-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Vellomar Notes 3")
# One registry key for every version, so that a newer installer finds and
# replaces the older one instead of installing beside it.
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Vellomar Notes 3")
set(CPACK_PACKAGE_EXECUTABLES Zephyn3 "Vellomar Notes 3")
set(CPACK_PACKAGE_ICON "")
# The zip unpacks into one folder that runs where it lies.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)

set(CPACK_NSIS_PACKAGE_NAME "Vellomar Notes 3")
set(CPACK_NSIS_DISPLAY_NAME "Vellomar Notes 3")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_UNINSTALL_NAME "Uninstall")
set(CPACK_NSIS_INSTALLED_ICON_NAME "Zephyn3.exe")
set(CPACK_NSIS_MUI_ICON "${CMAKE_SOURCE_DIR}/res/icons/App.ico")
set(CPACK_NSIS_MUI_UNIICON "${CMAKE_SOURCE_DIR}/res/icons/App.ico")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY ".")
set(CPACK_NSIS_MUI_FINISHPAGE_RUN "Zephyn3.exe")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)

# Run at log-on (offered on the finish page, "/RUNATLOGON" when silent), closing
# a running copy before its files are replaced, and keeping the run-at-log-on
# choice across an upgrade live in Extras.nsh.
set(CPACK_NSIS_DEFINES "!include \"${CMAKE_SOURCE_DIR}/cmake/nsis/Extras.nsh\"")
set(CPACK_NSIS_EXTRA_PREINSTALL_COMMANDS "Call CloseRunningProgram")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "Call RestoreRunAtLogOn")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "Call un.CloseRunningProgram\nCall un.SetAsideRunAtLogOn")
set(CPACK_VERBATIM_VARIABLES ON)

include(CPack)

# "cmake --build build/win --target installer" builds the program and both packages.
add_custom_target(installer
    COMMAND ${CMAKE_CPACK_COMMAND} --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
            -B ${CMAKE_BINARY_DIR}/packages
    DEPENDS Zephyn3 vn_data
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    COMMENT "Packing the installer and the portable zip into ${CMAKE_BINARY_DIR}/packages"
    VERBATIM)

# Packs both, installs, runs, upgrades and uninstalls under Wine.
add_test(NAME install_e2e
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/e2e_install.sh ${CMAKE_BINARY_DIR})
set_tests_properties(install_e2e PROPERTIES LABELS "wine;e2e" RUN_SERIAL ON TIMEOUT 300)
