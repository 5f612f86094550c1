# One stage-select frame: wave, heading, preview, the 30 labels and the highlight.
brackle_bench(title_bench SOURCES title_bench.cpp LIBS test_support)
