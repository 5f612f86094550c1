# Playing through the play loop: a whole play frame, and a frame of a move made by a click.
brackle_bench(play_bench SOURCES play_bench.cpp LIBS test_support stage_text)
