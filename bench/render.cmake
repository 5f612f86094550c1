# The play frame and the move-animation frame: clear, field, pieces and labels.
brackle_bench(render_bench SOURCES render_bench.cpp LIBS test_support)
