# add_record(<library> <symbol> <input file> [ITEMS <count>])
# Packs <input file> into an enciphered record `<symbol>` with its length
# constant `<symbol>Length`, compiled into <library>. The record is packed
# again whenever the input or the packer changes.
if(SETUP_PLATFORM STREQUAL native)
    set(PACKER $<TARGET_FILE:pack_record>)
    set(PACKER_DEPENDS pack_record)
else()
    set(PACKER_DEPENDS ${PACKER})
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
