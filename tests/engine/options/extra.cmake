# Hostile-input tests measure the largest allocation by replacing operator new in this program.
target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support/probe/AllocationProbe.cpp)
