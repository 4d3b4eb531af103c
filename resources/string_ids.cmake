# Every string id the code fetches must be in a table: the check runs whenever
# a table or a source changes, fails the build otherwise, and writes the list
# of used ids for the tests.
find_package(Python3 COMPONENTS Interpreter REQUIRED)
file(GLOB_RECURSE string_id_sources CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/engine/*.cpp ${CMAKE_SOURCE_DIR}/engine/*.h
     ${CMAKE_SOURCE_DIR}/system/*.cpp ${CMAKE_SOURCE_DIR}/system/*.h
     ${CMAKE_SOURCE_DIR}/wizard/*.cpp ${CMAKE_SOURCE_DIR}/wizard/*.h
     ${CMAKE_SOURCE_DIR}/store/string_table.h)
set(string_tables
    ${CMAKE_CURRENT_SOURCE_DIR}/strings/default.txt
    ${CMAKE_CURRENT_SOURCE_DIR}/strings/constant.txt
    ${CMAKE_CURRENT_SOURCE_DIR}/strings/english.txt
    ${CMAKE_CURRENT_SOURCE_DIR}/strings/polish.txt)
set(string_id_checker ${CMAKE_SOURCE_DIR}/tools/strings/check_string_ids.py)
set(used_string_ids ${CMAKE_CURRENT_BINARY_DIR}/generated/used_string_ids.h)
add_custom_command(OUTPUT ${used_string_ids}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/generated
    COMMAND Python3::Interpreter ${string_id_checker} ${used_string_ids} ${string_tables} -- ${string_id_sources}
    DEPENDS ${string_id_checker} ${string_tables} ${string_id_sources}
    COMMENT "Checking that every string id the code uses is in a table"
    VERBATIM)
add_custom_target(string_id_check ALL DEPENDS ${used_string_ids})
add_dependencies(product_resources string_id_check)
target_include_directories(product_resources PUBLIC ${CMAKE_CURRENT_BINARY_DIR}/generated)
