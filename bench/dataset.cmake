add_executable(bench_dataset ${CMAKE_CURRENT_LIST_DIR}/bench_dataset.cpp ${CMAKE_CURRENT_LIST_DIR}/LargeSample.cpp ${CMAKE_CURRENT_LIST_DIR}/LargeSample.h)
target_link_libraries(bench_dataset PRIVATE kvl_core kvl_mkdata)
