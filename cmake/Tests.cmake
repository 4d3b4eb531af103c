enable_testing()

# GoogleTest from Debian's sources, built with this sub-build's toolchain.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(WINE_RUN ${CMAKE_SOURCE_DIR}/tools/wine-run.sh)
if(SETUP_PLATFORM STREQUAL win32)
    set(SETUP_TEST_PREFIXES win32 win64)  # x86 Windows, and WOW64 on x64
elseif(SETUP_PLATFORM STREQUAL win64)
    set(SETUP_TEST_PREFIXES win64)
endif()

# add_setup_test(name SOURCES ... LIBS ... [VERSIONS winxp win7 ...] [SCREEN])
# Natively the test runs under AddressSanitizer and UBSan. A Windows test runs
# under Wine once per test prefix and Windows version (default win10).
function(add_setup_test name)
    cmake_parse_arguments(ARG "SCREEN" "" "SOURCES;LIBS;VERSIONS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)

    if(SETUP_PLATFORM STREQUAL native)
        target_compile_options(${name} PRIVATE ${SANITIZER_FLAGS})
        target_link_options(${name} PRIVATE ${SANITIZER_FLAGS})
        add_test(NAME native.${name} COMMAND ${name})
        set_tests_properties(native.${name} PROPERTIES LABELS native)
        return()
    endif()

    if(NOT ARG_VERSIONS)
        set(ARG_VERSIONS win10)
    endif()
    set(screen)
    if(ARG_SCREEN)
        set(screen --screen)
    endif()
    foreach(prefix ${SETUP_TEST_PREFIXES})
        string(REPLACE win "" bits ${prefix})
        foreach(version ${ARG_VERSIONS})
            set(test ${SETUP_PLATFORM}.${name}.${prefix}.${version})
            add_test(NAME ${test}
                     COMMAND ${WINE_RUN} --prefix ${WINE_PREFIX_ROOT}/${prefix} --version ${version} ${screen}
                             -- $<TARGET_FILE:${name}>)
            set_tests_properties(${test} PROPERTIES
                LABELS "wine;${SETUP_PLATFORM}"
                FIXTURES_REQUIRED wine${bits}
                RESOURCE_LOCK wine${bits}
                SKIP_RETURN_CODE 77
                TIMEOUT 600)
        endforeach()
    endforeach()
endfunction()
