# Native configuration: the tests of the program's portable core, and of the printer side's
# backend in a folder of their own (and, with clang, the fuzzers).
file(GLOB native_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp
     ${CMAKE_SOURCE_DIR}/tests/native/backend/*.cpp)
add_executable(native_tests ${native_test_sources})
target_link_libraries(native_tests PRIVATE pszcore quillonsession gtest_main)
target_compile_options(native_tests PRIVATE ${PSZ_WARNINGS})
add_test(NAME native_tests COMMAND native_tests)
# Far below any CI limit; the tests take seconds.
set_tests_properties(native_tests PROPERTIES TIMEOUT 300)

# The printer stand-in's CUPS backend: its logic in a library that the tests reach, the
# backend program, and the Ghostscript prelude, which the backend finds beside itself.
find_package(Cups REQUIRED)
add_library(quillon-backend-core STATIC
    printer/backend/BackendJob.cpp
    printer/backend/BackendLog.cpp
    printer/backend/BoundedLog.cpp
    printer/backend/DestinationPrompt.cpp
    printer/backend/FailureReport.cpp
    printer/backend/FolderWalk.cpp
    printer/backend/Ghostscript.cpp
    printer/backend/JobConfiguration.cpp
    printer/backend/JobFolder.cpp
    printer/backend/JobName.cpp
    printer/backend/JobOwner.cpp
    printer/backend/NumberedName.cpp
    printer/backend/PdfSwitches.cpp
    printer/backend/PendingOutput.cpp
    printer/backend/SessionChannel.cpp
    printer/backend/SubmittingUser.cpp
    printer/backend/SupervisedChild.cpp
    printer/backend/TargetPath.cpp
    printer/backend/TicketCheck.cpp
    printer/backend/Utf8.cpp
    printer/backend/WindowsPath.cpp
    printer/backend/WineRegistry.cpp
    printer/common/PdfSettings.cpp
)
target_include_directories(quillon-backend-core PUBLIC ${CMAKE_SOURCE_DIR})
# Of the program only the job ticket: the backend runs as root on hostile input.
target_link_libraries(quillon-backend-core PUBLIC pszticket quillonsession Cups::Cups)
target_compile_options(quillon-backend-core PRIVATE ${PSZ_WARNINGS})
add_executable(quillon-backend printer/backend/BackendMain.cpp)
target_link_libraries(quillon-backend PRIVATE quillon-backend-core)
target_compile_options(quillon-backend PRIVATE ${PSZ_WARNINGS})
if(PSZ_FUZZ)
    # The ticket library it links carries the fuzzers' coverage instrumentation (below).
    target_link_options(quillon-backend PRIVATE -fsanitize=fuzzer-no-link)
endif()
configure_file(printer/backend/prelude.ps ${CMAKE_BINARY_DIR}/quillon-prelude.ps COPYONLY)
target_link_libraries(native_tests PRIVATE quillon-backend-core)
target_compile_definitions(native_tests PRIVATE
    BACKEND_TEST_PRELUDE="${CMAKE_SOURCE_DIR}/printer/backend/prelude.ps"
    BACKEND_TEST_EXECUTABLE="$<TARGET_FILE:quillon-backend>")
add_dependencies(native_tests quillon-backend)

if(PSZ_FUZZ)
    # The core and the ticket are what is fuzzed: without coverage instrumentation
    # libFuzzer would see only the fuzz target's own branches. The tests link the same
    # libraries, so they take the coverage runtime along.
    target_compile_options(pszcore PRIVATE -fsanitize=fuzzer-no-link)
    target_compile_options(pszticket PRIVATE -fsanitize=fuzzer-no-link)
    target_compile_options(quillonsession PRIVATE -fsanitize=fuzzer-no-link)
    target_compile_options(quillon-backend-core PRIVATE -fsanitize=fuzzer-no-link)
    target_link_options(native_tests PRIVATE -fsanitize=fuzzer-no-link)
    file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*.cpp)
    foreach(src ${fuzz_sources})
        get_filename_component(name ${src} NAME_WE)
        add_executable(${name} ${src})
        target_link_libraries(${name} PRIVATE pszcore quillon-backend-core)
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer ${PSZ_WARNINGS})
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    endforeach()
endif()
