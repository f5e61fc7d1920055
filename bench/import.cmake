# Import of an older data file: the benchmark beside a bare INSERT loop (not part of ctest).
add_executable(bench_import ${CMAKE_CURRENT_LIST_DIR}/bench_import.cpp ${CMAKE_CURRENT_LIST_DIR}/ImportSample.h)
target_link_libraries(bench_import PRIVATE kvl_maintenance kvl_mkdata SQLite::SQLite3)
