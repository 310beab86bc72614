# halvern_add_test(NAME name SOURCES ... LIBS ...)
# One test executable is one CTest entry (under Wine, one Wine start per executable).
function(halvern_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main)
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${T_NAME} PRIVATE
    HALVERN_SOURCE_DIR="${CMAKE_SOURCE_DIR}" HALVERN_BINARY_DIR="${CMAKE_BINARY_DIR}")
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_brief=1)
endfunction()
