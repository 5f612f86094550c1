# The hint: how long its search takes to answer from positions a player reaches.
brackle_bench(hint_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/hint_bench.cpp LIBS game_help)
