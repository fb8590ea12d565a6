quill_add_test(save_names SOURCES save_names.cpp LIBS quill_output)
quill_add_test(save_run SOURCES save_run.cpp LIBS quill_output quill_test_decode)
