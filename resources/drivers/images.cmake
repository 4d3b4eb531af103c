# The layout drivers, built from the layout source for every driver set,
# layout variant and catalogue slot, with both mingw compilers whatever this
# sub-build's own toolchain is. A driver has no run-time library and imports
# nothing: it is its tables, a resource block (display name and version) and
# base relocations. Each slot's release goes into the image's version fields.
#
# Defines the target driver_images, driver_slot(<slot> <arch var> <major var>
# <minor var>), a slot's processor and release, and driver_image_path(<var>
# <set> <layout> <slot>), the image of a catalogue entry; the IA-64 slots hold
# a named placeholder until their drivers are built.
include_guard(GLOBAL)

find_package(Python3 COMPONENTS Interpreter REQUIRED)
find_program(DRIVER_CC_x86 i686-w64-mingw32-gcc-posix REQUIRED)
find_program(DRIVER_CC_x64 x86_64-w64-mingw32-gcc-posix REQUIRED)
find_program(DRIVER_RC_x86 i686-w64-mingw32-windres REQUIRED)
find_program(DRIVER_RC_x64 x86_64-w64-mingw32-windres REQUIRED)
set(DRIVER_RC_FORMAT_x86 pe-i386)
set(DRIVER_RC_FORMAT_x64 pe-x86-64)
# The compiler's default model reaches an x64 driver's tables through an
# extra pointer; the small model addresses them directly.
set(DRIVER_CFLAGS_x86)
set(DRIVER_CFLAGS_x64 -mcmodel=small)
# A fixed preferred address (the usual one for libraries of each processor)
# instead of one made from the output path, so that every sub-build makes the
# same images; the relocations let the system put them anywhere.
set(DRIVER_IMAGE_BASE_x86 0x10000000)
set(DRIVER_IMAGE_BASE_x64 0x180000000)

set(LAYOUT_SOURCE ${CMAKE_SOURCE_DIR}/resources/layouts/wierzba.layout)
set(driver_work ${CMAKE_BINARY_DIR}/driver_build)
set(driver_generator ${CMAKE_SOURCE_DIR}/tools/layouts/driver_source.py)
set(driver_generator_depends
    ${driver_generator}
    ${CMAKE_SOURCE_DIR}/tools/layouts/driver_tables.py
    ${CMAKE_SOURCE_DIR}/tools/layouts/layout_source.py
    ${LAYOUT_SOURCE})
set(driver_header ${CMAKE_SOURCE_DIR}/tools/layouts/layout_driver.h)

# The processor of a catalogue slot's image (x86, x64 or ia64) and the
# Windows release it is built for.
function(driver_slot slot arch_var major_var minor_var)
    set(slots
        "x86 5 0" "x86 5 1" "x86 5 2" "ia64 5 2" "x64 5 2" "x86 6 0" "ia64 6 0"
        "x64 6 0" "x86 6 1" "ia64 6 1" "x64 6 1" "x86 6 2" "x64 6 2")
    list(GET slots ${slot} entry)
    string(REPLACE " " ";" entry ${entry})
    list(GET entry 0 arch)
    list(GET entry 1 major)
    list(GET entry 2 minor)
    set(${arch_var} ${arch} PARENT_SCOPE)
    set(${major_var} ${major} PARENT_SCOPE)
    set(${minor_var} ${minor} PARENT_SCOPE)
endfunction()

function(driver_image_path var set layout slot)
    set(setNames standard alternate)
    list(GET setNames ${set} setName)
    driver_slot(${slot} arch major minor)
    set(stem ${CMAKE_BINARY_DIR}/driver_images/driver_${setName}_${layout}_${slot})
    if(arch STREQUAL ia64)
        set(${var} ${stem}.ia64-placeholder.txt PARENT_SCOPE)
    else()
        set(${var} ${stem}.dll PARENT_SCOPE)
    endif()
endfunction()

file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/driver_images ${driver_work})
set(common_cflags -std=gnu11 -O2 -Wall -Wextra -ffreestanding -fno-ident -fno-asynchronous-unwind-tables
    -I${CMAKE_SOURCE_DIR})

foreach(arch x86 x64)
    add_custom_command(OUTPUT ${driver_work}/entry_${arch}.o
        COMMAND ${DRIVER_CC_${arch}} ${common_cflags} ${DRIVER_CFLAGS_${arch}}
                -c ${CMAKE_SOURCE_DIR}/tools/layouts/layout_entry.c -o ${driver_work}/entry_${arch}.o
        DEPENDS ${CMAKE_SOURCE_DIR}/tools/layouts/layout_entry.c ${driver_header}
        COMMENT "Compiling the layout driver's entry (${arch})"
        VERBATIM)
endforeach()

set(all_images)
set(setNames standard alternate)
foreach(set 0 1)
    list(GET setNames ${set} setName)
    foreach(layout 0 1 2)
        set(stem ${driver_work}/driver_${setName}_${layout})
        add_custom_command(OUTPUT ${stem}.c ${stem}.rc ${stem}.def
            COMMAND Python3::Interpreter ${driver_generator} ${LAYOUT_SOURCE} ${set} ${layout}
                    ${stem}.c ${stem}.rc ${stem}.def
            DEPENDS ${driver_generator_depends}
            COMMENT "Generating the layout driver sources: set ${setName}, layout ${layout}"
            VERBATIM)
        foreach(arch x86 x64)
            add_custom_command(OUTPUT ${stem}_${arch}.o ${stem}_${arch}.res.o
                COMMAND ${DRIVER_CC_${arch}} ${common_cflags} ${DRIVER_CFLAGS_${arch}} -c ${stem}.c -o ${stem}_${arch}.o
                COMMAND ${DRIVER_RC_${arch}} -O coff -F ${DRIVER_RC_FORMAT_${arch}} ${stem}.rc ${stem}_${arch}.res.o
                DEPENDS ${stem}.c ${stem}.rc ${driver_header}
                COMMENT "Compiling the layout driver: set ${setName}, layout ${layout}, ${arch}"
                VERBATIM)
        endforeach()
        foreach(slot RANGE 12)
            driver_image_path(image ${set} ${layout} ${slot})
            driver_slot(${slot} arch major minor)
            if(arch STREQUAL ia64)
                file(CONFIGURE OUTPUT ${image} CONTENT
                     "placeholder for the IA-64 layout driver, which is not built yet: set ${setName}, layout ${layout}, slot ${slot}\n")
                continue()
            endif()
            add_custom_command(OUTPUT ${image}
                COMMAND ${DRIVER_CC_${arch}} -nostdlib -shared -s -o ${image}
                        ${driver_work}/entry_${arch}.o ${stem}_${arch}.o ${stem}_${arch}.res.o ${stem}.def
                        -Wl,--no-insert-timestamp -Wl,--image-base,${DRIVER_IMAGE_BASE_${arch}}
                        -Wl,--subsystem,windows:${major}.${minor}
                        -Wl,--major-os-version,${major} -Wl,--minor-os-version,${minor}
                DEPENDS ${driver_work}/entry_${arch}.o ${stem}_${arch}.o ${stem}_${arch}.res.o ${stem}.def
                COMMENT "Linking the layout driver: set ${setName}, layout ${layout}, slot ${slot}"
                VERBATIM)
            list(APPEND all_images ${image})
        endforeach()
    endforeach()
endforeach()
add_custom_target(driver_images ALL DEPENDS ${all_images})
