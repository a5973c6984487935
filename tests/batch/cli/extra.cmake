# End-to-end tests of corvelinscope-batch: they run the program from a private copy of its folder with a settings
# file of their own, a test-only reader module for "instrument files" and fixtures made by the generator.
add_library(corvelin-test-fake-datasystem MODULE ${dir}/plugin/FakeDataSystem.cpp)
target_link_libraries(corvelin-test-fake-datasystem PRIVATE corvelin-engine)
set_target_properties(corvelin-test-fake-datasystem PROPERTIES PREFIX "" CXX_VISIBILITY_PRESET hidden
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/test-plugins)
add_dependencies(${target} corvelinscope-batch corvelin-reader-library-entry corvelin-test-fake-datasystem
  corvelin-reader-jcamp corvelin-reader-peak-table)
target_link_libraries(${target} PRIVATE corvelin_synthetic)
target_compile_definitions(${target} PRIVATE
  CORVELIN_BATCH_EXE="$<TARGET_FILE:corvelinscope-batch>"
  CORVELIN_LIB_DIR="${CMAKE_BINARY_DIR}/${CMAKE_INSTALL_LIBDIR}"
  CORVELIN_ENTRY_READER="$<TARGET_FILE:corvelin-reader-library-entry>"
  CORVELIN_FAKE_READER="$<TARGET_FILE:corvelin-test-fake-datasystem>"
  CORVELIN_JCAMP_READER="$<TARGET_FILE:corvelin-reader-jcamp>"
  CORVELIN_PEAK_TABLE_READER="$<TARGET_FILE:corvelin-reader-peak-table>")
