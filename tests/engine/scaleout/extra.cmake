# The search reads its unknown through the plug-ins: the tests install a list with the library-entry reader.
add_dependencies(${target} corvelin-reader-library-entry)
target_compile_definitions(${target} PRIVATE CORVELIN_ENTRY_READER="$<TARGET_FILE:corvelin-reader-library-entry>")
