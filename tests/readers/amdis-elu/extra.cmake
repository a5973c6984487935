# The parser library, and the module itself for the tests that load it the way the program does.
target_link_libraries(${target} PRIVATE corvelin_amdis_elu ${CMAKE_DL_LIBS})
add_dependencies(${target} corvelin-reader-amdis-elu)
target_compile_definitions(${target} PRIVATE AMDIS_ELU_MODULE="$<TARGET_FILE:corvelin-reader-amdis-elu>")
# The end-to-end test reads through the registration the build writes into the build tree's settings. The
# registration target is made at the end of the top-level directory; a dependency may name it before that.
add_dependencies(${target} corvelin-reader-msp corvelin_reader_registration)
