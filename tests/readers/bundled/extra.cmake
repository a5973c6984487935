# The bundled modules must be built and registered in the build tree's settings before this test runs. The
# registration target is made at the end of the top-level directory; a dependency may name it before that.
add_dependencies(${target} corvelin-reader-library-entry corvelin-reader-msp corvelin_reader_registration)
