add_setup_test(upper_case_test SOURCES upper_case_test.cpp LIBS text_checked)
generate_case_data(--reference ${CASE_REFERENCE_SOURCE})
target_sources(upper_case_test PRIVATE ${CASE_REFERENCE_SOURCE})
