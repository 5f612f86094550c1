# The title's master-loop frame, idle and fading, and reading the two files at start-up.
brackle_bench(shell_bench SOURCES shell_bench.cpp LIBS test_support)
