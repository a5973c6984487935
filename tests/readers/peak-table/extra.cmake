# The parser library, and the module itself for the tests that load it the way the program does.
target_link_libraries(${target} PRIVATE corvelin_peak_table ${CMAKE_DL_LIBS})
add_dependencies(${target} corvelin-reader-peak-table)
target_compile_definitions(${target} PRIVATE PEAK_TABLE_MODULE="$<TARGET_FILE:corvelin-reader-peak-table>")
# The end-to-end test reads through the registration the build writes into the build tree's settings. The
# registration target is made at the end of the top-level directory; a dependency may name it before that.
add_dependencies(${target} corvelin_reader_registration)
