target_link_libraries(${target} PRIVATE corvelin_andi_parser)
