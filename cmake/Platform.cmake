# Compiler settings shared by every sub-build.
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
add_compile_options(-Wall -Wextra)
include_directories(${CMAKE_SOURCE_DIR})

if(SETUP_PLATFORM STREQUAL native)
    set(SETUP_WINDOWS OFF)
    find_package(ZLIB REQUIRED)
    set(SETUP_ZLIB ZLIB::ZLIB)
    # The Windows-free core is also built checked, for its native tests.
    set(SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
else()
    set(SETUP_WINDOWS ON)
    add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0500)
    # One file with nothing beside it: the C++ runtime, winpthread and zlib
    # are linked in.
    add_link_options(-static -static-libgcc -static-libstdc++)
    set(SETUP_ZLIB z)
endif()

# A library of the Windows-free core. Natively it comes twice: plain for the
# build-time tools and benchmarks, and `<name>_checked` with the sanitizers
# for the tests. CORE_LIBS are other core libraries, linked in the matching
# variant; LIBS are outside libraries.
function(add_core_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;CORE_LIBS;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_link_libraries(${name} PUBLIC ${ARG_CORE_LIBS} ${ARG_LIBS})
    if(SETUP_PLATFORM STREQUAL native)
        add_library(${name}_checked STATIC ${ARG_SOURCES})
        target_compile_options(${name}_checked PRIVATE ${SANITIZER_FLAGS})
        list(TRANSFORM ARG_CORE_LIBS APPEND _checked)
        target_link_libraries(${name}_checked PUBLIC ${ARG_CORE_LIBS} ${ARG_LIBS})
    else()
        add_library(${name}_checked ALIAS ${name})
    endif()
endfunction()
