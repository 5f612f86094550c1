# Playing through the play loop: a whole play frame, and a frame of a move made by a click.
brackle_bench(play_bench SOURCES play_bench.cpp LIBS test_support stage_text)
target_compile_definitions(play_bench PRIVATE BRACKLE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
