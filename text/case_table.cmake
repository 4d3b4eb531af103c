# The upper-case data of upper_case.cpp is generated from Unicode's files at
# build time, and again whenever the generator or the files change.
set(UNICODE_DATA_DIR /usr/share/unicode CACHE PATH
    "Folder of UnicodeData.txt and DerivedAge.txt (Debian's unicode-data package)")
foreach(file UnicodeData.txt DerivedAge.txt)
    if(NOT EXISTS ${UNICODE_DATA_DIR}/${file})
        message(FATAL_ERROR "${UNICODE_DATA_DIR}/${file} is missing: install unicode-data or set UNICODE_DATA_DIR")
    endif()
endforeach()

# generate_case_data(<--table|--reference> <output>)
# A custom command only builds for targets of the folder that adds it, so
# the tests call this themselves for the reference.
function(generate_case_data option output)
    # Its imported target belongs to the calling folder.
    find_package(Python3 COMPONENTS Interpreter REQUIRED)
    set(generator ${CMAKE_SOURCE_DIR}/tools/gen_case_table.py)
    set(inputs ${UNICODE_DATA_DIR}/UnicodeData.txt ${UNICODE_DATA_DIR}/DerivedAge.txt)
    add_custom_command(OUTPUT ${output}
        COMMAND Python3::Interpreter ${generator} ${inputs} ${option} ${output}
        DEPENDS ${generator} ${inputs}
        COMMENT "Generating ${output}"
        VERBATIM)
endfunction()

set(CASE_TABLE_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/case_pairs.cpp)
generate_case_data(--table ${CASE_TABLE_SOURCE})

# The whole mapping, for tests only; tests/text is another folder.
set(CASE_REFERENCE_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/upper_case_reference.cpp CACHE INTERNAL "")
