# The bundled modules must be built and registered in the build tree's settings before this test runs.
add_dependencies(${target} corvelin-reader-library-entry corvelin-reader-msp)
if(TARGET corvelin_reader_registration)
  add_dependencies(${target} corvelin_reader_registration)
endif()
