# The raw-data reader modules as the program loads them: through the registration and ReadFromDataFile.
add_dependencies(${target} corvelin-reader-andi corvelin-reader-jcamp corvelin-reader-mzml)
target_link_libraries(${target} PRIVATE corvelin_andi_parser PwizLite::PwizLite Boost::headers) # the file writers' libraries
target_compile_definitions(${target} PRIVATE
  CORVELIN_ANDI_MODULE="$<TARGET_FILE:corvelin-reader-andi>" CORVELIN_JCAMP_MODULE="$<TARGET_FILE:corvelin-reader-jcamp>"
  CORVELIN_MZML_MODULE="$<TARGET_FILE:corvelin-reader-mzml>")
