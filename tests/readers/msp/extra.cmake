target_link_libraries(${target} PRIVATE corvelin-msp-parser)
