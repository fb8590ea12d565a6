# The print dialog and the printing run. The run tests print to PDF files and
# read them back with poppler (pdfinfo, pdftoppm) and zxing-cpp.
quill_add_test(print_grid SOURCES ${CMAKE_CURRENT_LIST_DIR}/print_grid.cpp LIBS quill_output)
quill_add_test(print_dialog SOURCES ${CMAKE_CURRENT_LIST_DIR}/print_dialog.cpp LIBS quill_output)
quill_add_test(print_run SOURCES ${CMAKE_CURRENT_LIST_DIR}/print_run.cpp LIBS quill_output quill_test_decode)
quill_add_test(print_cups SOURCES ${CMAKE_CURRENT_LIST_DIR}/print_cups.cpp LIBS quill_output quill_test_decode)
set_tests_properties(print_run print_cups PROPERTIES TIMEOUT 300)
