include(ExternalProject)

if(NOT CMAKE_BUILD_TYPE)
    set(CMAKE_BUILD_TYPE RelWithDebInfo)
endif()

set(WINE_PREFIX_ROOT ${CMAKE_BINARY_DIR}/wine)
set(common_args
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DWINE_PREFIX_ROOT=${WINE_PREFIX_ROOT})

# The sub-builds share two cores: the console pool runs one at a time, and
# each gets the whole machine.
ExternalProject_Add(native
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/native
    CMAKE_ARGS ${common_args} -DSETUP_PLATFORM=native
    BUILD_ALWAYS ON
    USES_TERMINAL_BUILD ON
    INSTALL_COMMAND "")

set(packer ${CMAKE_BINARY_DIR}/native/tools/pack_record)
set(table_compiler ${CMAKE_BINARY_DIR}/native/tools/compile_table)

foreach(platform win32 win64)
    if(platform STREQUAL win32)
        set(toolchain ${CMAKE_SOURCE_DIR}/cmake/toolchain-i686-mingw.cmake)
    else()
        set(toolchain ${CMAKE_SOURCE_DIR}/cmake/toolchain-x86_64-mingw.cmake)
    endif()
    ExternalProject_Add(${platform}
        SOURCE_DIR ${CMAKE_SOURCE_DIR}
        BINARY_DIR ${CMAKE_BINARY_DIR}/${platform}
        CMAKE_ARGS ${common_args}
            -DSETUP_PLATFORM=${platform}
            -DCMAKE_TOOLCHAIN_FILE=${toolchain}
            -DPACKER=${packer}
            -DTABLE_COMPILER=${table_compiler}
        BUILD_ALWAYS ON
        USES_TERMINAL_BUILD ON
        INSTALL_COMMAND ""
        DEPENDS native)
endforeach()

# One ctest run covers every sub-build. The Wine prefixes are fixtures of
# that run: created once before the first Windows test, removed after the last.
enable_testing()
foreach(bits 32 64)
    set(prefix ${WINE_PREFIX_ROOT}/win${bits})
    add_test(NAME wine_prefix_win${bits}_create
             COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-prefix.sh create ${bits} ${prefix})
    add_test(NAME wine_prefix_win${bits}_remove
             COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-prefix.sh remove ${bits} ${prefix})
    set_tests_properties(wine_prefix_win${bits}_create PROPERTIES
        FIXTURES_SETUP wine${bits} RESOURCE_LOCK wine${bits} LABELS wine TIMEOUT 600)
    set_tests_properties(wine_prefix_win${bits}_remove PROPERTIES
        FIXTURES_CLEANUP wine${bits} RESOURCE_LOCK wine${bits} LABELS wine)
endforeach()

file(WRITE ${CMAKE_BINARY_DIR}/SubBuildTests.cmake "subdirs(native win32 win64)\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/SubBuildTests.cmake)
