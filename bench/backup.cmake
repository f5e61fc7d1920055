# Backup, restore, compaction and import: the benchmark and the long fault test (neither is part of ctest).
add_executable(bench_backup ${CMAKE_CURRENT_LIST_DIR}/bench_backup.cpp ${CMAKE_CURRENT_LIST_DIR}/BackupSample.h)
target_link_libraries(bench_backup PRIVATE kvl_maintenance)
add_executable(fault_maintenance ${CMAKE_CURRENT_LIST_DIR}/fault_maintenance.cpp ${CMAKE_CURRENT_LIST_DIR}/BackupSample.h
  ${CMAKE_CURRENT_LIST_DIR}/ImportSample.h)
target_link_libraries(fault_maintenance PRIVATE kvl_maintenance kvl_mkdata)
