# The refresh of the two statistics windows on the large sample, beside the bare engine.
add_executable(bench_statistics ${CMAKE_CURRENT_LIST_DIR}/bench_statistics.cpp)
target_link_libraries(bench_statistics PRIVATE kvl_statistics kvl_mkdata)
# statistics_shots: pictures of both statistics windows in the main window, taken under Xvfb.
add_executable(statistics_shots ${CMAKE_CURRENT_LIST_DIR}/statistics_shots.cpp)
target_link_libraries(statistics_shots PRIVATE kvl_statistics kvl_masterdata kvl_core kvl_mkdata Qt6::Test)
