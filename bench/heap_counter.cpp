// Replaces the global operator new and delete of the program that links this
// file, counting every allocation and every release (one thread only).
#include "bench_support.h"

#include <cstdlib>
#include <new>

namespace {

std::size_t sAllocations = 0;
std::size_t sFrees = 0;

void* Allocate(std::size_t size)
{
    ++sAllocations;
    void* memory = std::malloc(size != 0 ? size : 1);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

void Release(void* memory)
{
    if (memory != nullptr) {
        ++sFrees;
        std::free(memory);
    }
}

} // namespace

namespace kwBench {

HeapCounts CurrentHeapCounts() { return HeapCounts{sAllocations, sFrees}; }

} // namespace kwBench

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* memory) noexcept { Release(memory); }
void operator delete[](void* memory) noexcept { Release(memory); }
void operator delete(void* memory, std::size_t) noexcept { Release(memory); }
void operator delete[](void* memory, std::size_t) noexcept { Release(memory); }
