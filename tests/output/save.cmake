quill_add_test(save_names SOURCES save_names.cpp LIBS quill_output)
