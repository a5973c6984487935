target_link_libraries(${target} PRIVATE corvelin_jcamp_parser)
