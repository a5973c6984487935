target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support/probe/AllocationProbe.cpp)
target_link_libraries(${target} PRIVATE corvelin_mzml_parser corvelin_jcamp_parser PwizLite::PwizLite Boost::headers ZLIB::ZLIB)
target_link_libraries(${target} PRIVATE corvelin_andi_parser)
# The real runs of the shared data folder beside the repository, when it is there (the tests skip otherwise).
target_compile_definitions(${target} PRIVATE CORVELIN_SHARED_DATA_DIR="${CMAKE_SOURCE_DIR}/../shared/data")
