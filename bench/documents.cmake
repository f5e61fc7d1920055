# bench_documents: the business window on the large sample, beside the bare engine;
# with --show it leaves the window open for a screenshot.
add_executable(bench_documents ${CMAKE_CURRENT_LIST_DIR}/bench_documents.cpp ${CMAKE_CURRENT_LIST_DIR}/LargeSample.cpp
               ${CMAKE_CURRENT_LIST_DIR}/LargeSample.h)
target_link_libraries(bench_documents PRIVATE kvl_documents kvl_mkdata)

# day_shots: a clerk's day in the main window, photographed step by step under Xvfb.
add_executable(day_shots ${CMAKE_CURRENT_LIST_DIR}/day_shots.cpp)
target_link_libraries(day_shots PRIVATE kvl_documents kvl_statistics kvl_masterdata kvl_core kvl_mkdata Qt6::Test)
