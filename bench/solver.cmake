# The stage solver: states per second, and all shipped stages solved exactly and surveyed.
brackle_bench(solver_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/solver_bench.cpp LIBS solution_text)
