#pragma once
// Records the largest single allocation made through operator new while a probe is alive, so hostile-input
// tests can check that no allocation exceeds what the input's size justifies. Linking this file into a test
// program replaces the global operator new/delete of that program (with malloc/free underneath), so it is not
// part of the shared support library: a test folder adds it in its extra.cmake with
//   target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support/probe/AllocationProbe.cpp)
#include <cstddef>

namespace corvelin {

class AllocationProbe {
public:
    AllocationProbe();
    ~AllocationProbe();
    AllocationProbe(const AllocationProbe&) = delete;
    AllocationProbe& operator=(const AllocationProbe&) = delete;

    // The largest size requested since the probe started.
    std::size_t Largest() const noexcept;
};

} // namespace corvelin
