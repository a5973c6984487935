# The views read their chromatograms through the plug-ins: the tests install a list with the library-entry reader.
add_dependencies(${target} corvelin-reader-library-entry)
target_compile_definitions(${target} PRIVATE CORVELIN_ENTRY_READER="$<TARGET_FILE:corvelin-reader-library-entry>")
# A plug-in module that reads any file as a chromatogram of a foreign data system (tests/engine/plugins/modules).
add_dependencies(${target} corvelin_test_plugin_a)
target_compile_definitions(${target} PRIVATE CORVELIN_TEST_PLUGIN_A="$<TARGET_FILE:corvelin_test_plugin_a>")
