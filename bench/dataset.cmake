add_executable(bench_dataset ${CMAKE_CURRENT_LIST_DIR}/bench_dataset.cpp ${CMAKE_CURRENT_LIST_DIR}/SampleFile.cpp ${CMAKE_CURRENT_LIST_DIR}/SampleFile.h)
target_link_libraries(bench_dataset PRIVATE kvl_platform_db)
