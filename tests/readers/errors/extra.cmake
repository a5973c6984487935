# Every reader's parser, to check what their refusals look like at the plug-in boundary.
target_link_libraries(${target} PRIVATE corvelin-msp-parser corvelin_amdis_elu corvelin_jcamp_parser)
