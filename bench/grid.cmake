# bench_grid: the data grid on a large data file: best-fit widths over 300,000
# rows, the export of 100,000 rows to each format, and repainting while scrolling.
add_executable(bench_grid ${CMAKE_CURRENT_LIST_DIR}/bench_grid.cpp)
target_link_libraries(bench_grid PRIVATE kvl_grids kvl_mkdata)
# grid_shots: pictures of the grid and the layout dialog, taken under Xvfb.
add_executable(grid_shots ${CMAKE_CURRENT_LIST_DIR}/grid_shots.cpp)
target_link_libraries(grid_shots PRIVATE kvl_grids kvl_mkdata)
