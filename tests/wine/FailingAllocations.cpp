#include "tests/wine/FailingAllocations.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace wintest {
namespace {
std::atomic<long> g_failAt{0};
std::atomic<long> g_count{0};
}  // namespace

void FailAllocationNumber(long n)
{
    g_count = 0;
    g_failAt = n;
}

long AllocationsSinceArmed()
{
    return g_count;
}

}  // namespace wintest

void* operator new(std::size_t size)
{
    const long number = ++wintest::g_count;
    if (wintest::g_failAt != 0 && number == wintest::g_failAt)
        throw std::bad_alloc();
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}
