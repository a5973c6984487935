# Test-only plug-in modules (never installed): two instances of the scriptable TestPlugin and one with almost
# no exports. The tests find them through CORVELIN_TEST_PLUGIN_DIR.
set(test_plugin_dir ${CMAKE_CURRENT_BINARY_DIR}/engine-plugins-modules)
foreach(module test_plugin_a test_plugin_b test_plugin_bare)
  if(module STREQUAL "test_plugin_bare")
    add_library(corvelin_${module} MODULE ${dir}/modules/BarePlugin.cpp)
  else()
    add_library(corvelin_${module} MODULE ${dir}/modules/TestPlugin.cpp)
  endif()
  target_link_libraries(corvelin_${module} PRIVATE corvelin-engine)
  set_target_properties(corvelin_${module} PROPERTIES PREFIX "" OUTPUT_NAME ${module}
    LIBRARY_OUTPUT_DIRECTORY ${test_plugin_dir} CXX_VISIBILITY_PRESET hidden)
  add_dependencies(${target} corvelin_${module})
endforeach()
target_compile_definitions(${target} PRIVATE CORVELIN_TEST_PLUGIN_DIR="${test_plugin_dir}")
