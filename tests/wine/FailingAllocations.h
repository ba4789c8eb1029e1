#pragma once
// A test program that links FailingAllocations.cpp replaces the global operator new: armed, it
// makes one chosen allocation throw std::bad_alloc, as a machine out of memory would.

namespace wintest {

// The `n`th allocation from now (1 is the next) throws; 0 disarms.
void FailAllocationNumber(long n);
// Allocations since the last FailAllocationNumber.
long AllocationsSinceArmed();

}  // namespace wintest
