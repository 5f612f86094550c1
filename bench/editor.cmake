# The editor's proof: from a stroke to the status line for each shipped stage, on its timer.
brackle_bench(editor_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_bench.cpp LIBS editor)
