# bench_export: the four export writers on 100,000 rows beside plain QFile writes.
add_executable(bench_export ${CMAKE_CURRENT_LIST_DIR}/bench_export.cpp)
target_link_libraries(bench_export PRIVATE kvl_grids)
