target_link_libraries(${target} PRIVATE corvelin_andi_parser)
target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests/readers)
