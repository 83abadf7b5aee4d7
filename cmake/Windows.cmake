# Windows configuration: the program, its Win32 glue and the tests that run under Wine.
enable_language(RC)

add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX STRICT)

# Reproducible binaries: the same sources and tools give the same bytes, in any folder.
# The linker's time stamp in the PE header is the only thing that differs otherwise.
add_link_options(-Wl,--no-insert-timestamp)

# Dialogs, menus, strings, icon and cursor; linked into the program and into the tests,
# which load strings and templates from their own module.
add_library(pszres OBJECT res/PsZuPdf.rc)
target_include_directories(pszres PRIVATE ${CMAKE_SOURCE_DIR}/res)
# CMake does not see the files a resource script names: an edit of the manifest must
# rebuild the resources too.
set_source_files_properties(res/PsZuPdf.rc PROPERTIES
                            OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/res/PsZuPdf.manifest)

# Everything but the entry point and the application object, so tests can link it.
add_library(pszwin STATIC
    framework/DataExchange.cpp
    framework/Dialog.cpp
    framework/MessageBox.cpp
    framework/ResourceString.cpp
    framework/SystemMessage.cpp
    framework/ThreadCalls.cpp
    framework/WinApp.cpp
    framework/Wnd.cpp
    app/ConverterApp.cpp
    app/OutputNameWin.cpp
    config/ConfigureDialog.cpp
    config/Registry.cpp
    config/RegistryReport.cpp
    config/Settings.cpp
    engine/BatchDrivers.cpp
    engine/InputFile.cpp
    engine/JobControl.cpp
    engine/PrinterDiscovery.cpp
    engine/Spooler.cpp
    engine/SpoolerTurn.cpp
    engine/SpoolWorker.cpp
    ui/AboutDialog.cpp
    ui/CenterWindow.cpp
    ui/ConverterDialog.cpp
    ui/FileOpenCommand.cpp
    ui/Help.cpp
    ui/JobButtons.cpp
    ui/JobDialog.cpp
    ui/LocalisedText.cpp
    ui/ProgressDialog.cpp
    ui/ShellCalls.cpp
    ui/StaticLink.cpp
)
target_include_directories(pszwin PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(pszwin PUBLIC pszcore winspool comctl32 comdlg32 shell32 shlwapi
                                    gdi32 user32 advapi32)
target_compile_options(pszwin PRIVATE ${PSZ_WARNINGS})

# The version resources of the program and the applet, from the project's version.
configure_file(res/Version.h.in ${CMAKE_BINARY_DIR}/generated/Version.h @ONLY)
set(psz_version_includes ${CMAKE_SOURCE_DIR}/res ${CMAKE_BINARY_DIR}/generated)

add_executable(PsZuPdf WIN32 app/AppMain.cpp framework/WinMain.cpp res/PsZuPdfVersion.rc
                               $<TARGET_OBJECTS:pszres>)
target_include_directories(PsZuPdf PRIVATE ${psz_version_includes})
target_link_libraries(PsZuPdf PRIVATE pszwin)
target_compile_options(PsZuPdf PRIVATE ${PSZ_WARNINGS})

# Windows tests: GoogleTest executables run by CTest under Wine (the emulator in the
# toolchain file). They run one at a time: they share the prefix's registry and printers.
file(GLOB win_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
add_executable(win_tests ${win_test_sources} $<TARGET_OBJECTS:pszres>)
target_link_libraries(win_tests PRIVATE pszwin gtest)
target_compile_options(win_tests PRIVATE ${PSZ_WARNINGS})
add_test(NAME win_tests COMMAND win_tests)
# The whole program takes well under a minute; a test that hangs is ended by the program's
# own watchdog after 150 s with a report, and CTest's limit is the last resort.
set_tests_properties(win_tests PROPERTIES RUN_SERIAL ON TIMEOUT 300)

# Small Windows helpers for the black-box and package checks (find and answer message
# boxes, read shortcuts and version resources, ...).
file(GLOB tool_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/tools/*.cpp)
foreach(src ${tool_sources})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_compile_options(${name} PRIVATE ${PSZ_WARNINGS})
    target_link_libraries(${name} PRIVATE user32 comctl32 ole32 uuid version)
endforeach()

# What the printer product's Windows programs share: its configurations' values and
# writing the registry to disk at once.
add_library(quillon-common STATIC
    printer/common/ConfigurationValues.cpp
    printer/common/PdfSettings.cpp
    printer/common/RegistryOnDisk.cpp
)
target_include_directories(quillon-common PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(quillon-common PUBLIC advapi32 ntdll)
target_compile_options(quillon-common PRIVATE ${PSZ_WARNINGS})
# Writing the registry to disk is tested where Wine runs the tests.
target_link_libraries(win_tests PRIVATE quillon-common)

# The printer product's control-panel applet stand-in "Quillon.cpl". It is not part of the
# program and links none of it. It goes beside PsZuPdf.exe and win_tests.exe, because the
# program's own folder comes first when LoadLibraryA("Quillon.cpl") searches.
add_library(Quillon SHARED
    printer/applet/AppletEntry.cpp
    printer/applet/ConfigurationRules.cpp
    printer/applet/ConfigurationStore.cpp
    printer/applet/ConfigurationsDialog.cpp
    printer/applet/Quillon.rc
    printer/applet/QuillonVersion.rc
)
set_source_files_properties(printer/applet/Quillon.rc PROPERTIES
                            OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/printer/applet/Quillon.manifest)
set_target_properties(Quillon PROPERTIES PREFIX "" SUFFIX ".cpl"
                                         RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_include_directories(Quillon PRIVATE ${CMAKE_SOURCE_DIR}/printer/applet
                                           ${psz_version_includes})
target_link_libraries(Quillon PRIVATE quillon-common user32 advapi32)
target_compile_options(Quillon PRIVATE ${PSZ_WARNINGS})
# The applet tests load the built applet.
add_dependencies(win_tests Quillon)

# The printer product's session program QuillonMonitor.exe: asks where to save and tells
# of failed conversions for the printer side. Its logic is in a library the tests reach.
add_library(quillonmonitor STATIC
    printer/monitor/MessageBoxes.cpp
    printer/monitor/MessageText.cpp
    printer/monitor/SaveAsDialog.cpp
    printer/monitor/SessionFolder.cpp
    printer/monitor/SessionMonitor.cpp
)
target_include_directories(quillonmonitor PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(quillonmonitor PUBLIC quillonsession shell32 user32)
target_compile_options(quillonmonitor PRIVATE ${PSZ_WARNINGS})
add_executable(QuillonMonitor WIN32 printer/monitor/MonitorMain.cpp printer/monitor/QuillonMonitor.rc)
target_include_directories(QuillonMonitor PRIVATE ${psz_version_includes})
target_link_libraries(QuillonMonitor PRIVATE quillonmonitor)
target_link_options(QuillonMonitor PRIVATE -municode)
target_compile_options(QuillonMonitor PRIVATE ${PSZ_WARNINGS})
target_link_libraries(win_tests PRIVATE quillonmonitor)
add_dependencies(win_tests QuillonMonitor)

# The package's custom action that seeds the printer product's registry tree with the
# values of a fresh installation where they are missing. It goes into the package only
# and is never installed.
add_library(QuillonSetup SHARED
    printer/setup/FreshDefaults.cpp
    printer/setup/SetupEntry.cpp
    printer/setup/StopMonitor.cpp
)
set_target_properties(QuillonSetup PROPERTIES PREFIX "")
target_link_libraries(QuillonSetup PRIVATE quillon-common msi shell32 advapi32 user32)
target_compile_options(QuillonSetup PRIVATE ${PSZ_WARNINGS})

# The same seeding as a console program, which printer/seed-registry runs under Wine.
add_executable(QuillonSeed printer/setup/SeedMain.cpp printer/setup/FreshDefaults.cpp)
target_link_libraries(QuillonSeed PRIVATE quillon-common shell32 advapi32)
target_compile_options(QuillonSeed PRIVATE ${PSZ_WARNINGS})
