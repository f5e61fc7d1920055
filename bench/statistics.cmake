# The refresh of the two statistics windows on the large sample, beside the bare engine.
add_executable(bench_statistics ${CMAKE_CURRENT_LIST_DIR}/bench_statistics.cpp)
target_link_libraries(bench_statistics PRIVATE kvl_statistics kvl_mkdata)
