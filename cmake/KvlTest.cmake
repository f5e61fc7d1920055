# kvl_add_test(NAME SOURCES ... LIBS ...): one Qt Test executable registered with CTest.
# Every test runs offscreen, with a private HOME and Qt's test-mode standard paths,
# so no test needs a display or touches a user's settings.
set(KVL_TEST_HOME ${CMAKE_BINARY_DIR}/test-home)
file(MAKE_DIRECTORY ${KVL_TEST_HOME})

function(kvl_add_test NAME)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${NAME} ${T_SOURCES})
  target_link_libraries(${NAME} PRIVATE ${T_LIBS} Qt6::Test)
  set_target_properties(${NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_definitions(${NAME} PRIVATE
    KVL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    KVL_BINARY_DIR="${CMAKE_BINARY_DIR}")
  add_test(NAME ${NAME} COMMAND ${NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${NAME} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${KVL_TEST_HOME};XDG_RUNTIME_DIR=${KVL_TEST_HOME};QT_LOGGING_RULES=qt.qpa.*=false")
endfunction()
