#include "tests/support/probe/AllocationProbe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace corvelin {

namespace {
std::atomic<int> g_active{0};
std::atomic<std::size_t> g_largest{0};

void* Allocate(std::size_t size)
{
    if (g_active.load(std::memory_order_relaxed) > 0) {
        std::size_t seen = g_largest.load(std::memory_order_relaxed);
        while (size > seen && !g_largest.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
        }
    }
    return std::malloc(size ? size : 1);
}
} // namespace

AllocationProbe::AllocationProbe()
{
    g_largest = 0;
    ++g_active;
}

AllocationProbe::~AllocationProbe()
{
    --g_active;
}

std::size_t AllocationProbe::Largest() const noexcept
{
    return g_largest.load();
}

} // namespace corvelin

using corvelin::Allocate;

void* operator new(std::size_t size)
{
    if (void* p = Allocate(size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    if (void* p = Allocate(size))
        return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
