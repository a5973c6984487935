# The raw-data reader modules as the program loads them: through the registration and ReadFromDataFile.
add_dependencies(${target} corvelin-reader-andi corvelin-reader-jcamp)
target_link_libraries(${target} PRIVATE corvelin_andi_parser) # libnetcdf for the file writer
target_compile_definitions(${target} PRIVATE
  CORVELIN_ANDI_MODULE="$<TARGET_FILE:corvelin-reader-andi>" CORVELIN_JCAMP_MODULE="$<TARGET_FILE:corvelin-reader-jcamp>")
