# add_record(<library> <symbol> <input file> [ITEMS <count>])
# Packs <input file> into an enciphered record `<symbol>` with its length
# constant `<symbol>Length`, compiled into <library>. The record is packed
# again whenever the input or the packer changes.
if(SETUP_PLATFORM STREQUAL native)
    set(PACKER $<TARGET_FILE:pack_record>)
    set(PACKER_DEPENDS pack_record)
    set(TABLE_COMPILER $<TARGET_FILE:compile_table>)
    set(TABLE_COMPILER_DEPENDS compile_table)
else()
    set(PACKER_DEPENDS ${PACKER})
    set(TABLE_COMPILER_DEPENDS ${TABLE_COMPILER})
endif()

function(add_record library symbol input)
    cmake_parse_arguments(ARG "" "ITEMS" "" ${ARGN})
    set(items)
    if(DEFINED ARG_ITEMS)
        set(items --items ${ARG_ITEMS})
    endif()
    set(output ${CMAKE_CURRENT_BINARY_DIR}/records/${symbol}.cpp)
    add_custom_command(OUTPUT ${output}
        COMMAND ${PACKER} ${items} ${input} ${output} ${symbol}
        DEPENDS ${input} ${PACKER_DEPENDS}
        COMMENT "Packing record ${symbol}"
        VERBATIM)
    target_sources(${library} PRIVATE ${output})
endfunction()

# add_string_table(<library> <symbol> <source.txt>)
# Compiles a string-table source and packs it, with its entry count, into
# the record `<symbol>`.
function(add_string_table library symbol source)
    set(binary ${CMAKE_CURRENT_BINARY_DIR}/tables/${symbol}.bin)
    set(count ${CMAKE_CURRENT_BINARY_DIR}/tables/${symbol}.count)
    set(output ${CMAKE_CURRENT_BINARY_DIR}/records/${symbol}.cpp)
    add_custom_command(OUTPUT ${binary} ${count}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/tables
        COMMAND ${TABLE_COMPILER} ${source} ${binary} ${count}
        DEPENDS ${source} ${TABLE_COMPILER_DEPENDS}
        COMMENT "Compiling string table ${symbol}"
        VERBATIM)
    add_custom_command(OUTPUT ${output}
        COMMAND ${PACKER} --items-file ${count} ${binary} ${output} ${symbol}
        DEPENDS ${binary} ${count} ${PACKER_DEPENDS}
        COMMENT "Packing record ${symbol}"
        VERBATIM)
    target_sources(${library} PRIVATE ${output})
endfunction()
