# The documents: the two agreement texts the wizard shows, and the guide, the
# extra document and the linked charts page that the install writes. Each is
# built from its source and packed as a record of its own.
find_package(Python3 COMPONENTS Interpreter REQUIRED)
set(document_builder ${CMAKE_SOURCE_DIR}/tools/documents/build_document.py)
set(document_sources ${CMAKE_CURRENT_SOURCE_DIR}/documents)
set(document_output ${CMAKE_CURRENT_BINARY_DIR}/documents)

# The layout charts come from the same layout source as the drivers.
set(layout_source ${CMAKE_SOURCE_DIR}/resources/layouts/wierzba.layout)
set(chart_generator ${CMAKE_SOURCE_DIR}/tools/layouts/charts.py)
set(LAYOUT_CHARTS ${CMAKE_CURRENT_BINARY_DIR}/documents/layout-charts.html)
add_custom_command(OUTPUT ${LAYOUT_CHARTS}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/documents
    COMMAND Python3::Interpreter ${chart_generator} ${layout_source} ${LAYOUT_CHARTS}
    DEPENDS ${chart_generator} ${layout_source}
    COMMENT "Drawing the layout charts"
    VERBATIM)

# add_document(<symbol> <source> <output name> [arguments of the builder...])
function(add_document symbol source name)
    set(output ${document_output}/${name})
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${document_output}
        COMMAND Python3::Interpreter ${document_builder} ${source} ${output} ${ARGN}
        DEPENDS ${document_builder} ${source} ${document_sources}/style.css ${LAYOUT_CHARTS}
        COMMENT "Building document ${name}"
        VERBATIM)
    add_record(product_resources ${symbol} ${output})
endfunction()

add_document(productAgreementEnglish ${document_sources}/licence-en.txt licence-en.txt --crlf)
add_document(productAgreementPolish ${document_sources}/licence-pl.txt licence-pl.txt --crlf)
add_document(productMainDocument ${document_sources}/guide.htm guide.htm
             --style ${document_sources}/style.css --charts ${LAYOUT_CHARTS})
add_document(productExtraDocument ${document_sources}/typing-with-altgr.htm typing-with-altgr.htm
             --style ${document_sources}/style.css)
add_document(productLinkedDocument ${document_sources}/charts.htm charts.htm
             --style ${document_sources}/style.css --charts ${LAYOUT_CHARTS})
