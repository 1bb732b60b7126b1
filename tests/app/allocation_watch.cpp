#include "allocation_watch.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace trelvik::test {
namespace {

std::atomic<std::size_t> largest{0};

void Note(std::size_t size)
{
    std::size_t seen = largest.load(std::memory_order_relaxed);
    while (size > seen && !largest.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
    }
}

void *Allocate(std::size_t size) noexcept
{
    Note(size);
    return std::malloc(size == 0 ? 1 : size);
}

} // namespace

void ResetLargestAllocation()
{
    largest.store(0, std::memory_order_relaxed);
}

std::size_t LargestAllocation()
{
    return largest.load(std::memory_order_relaxed);
}

} // namespace trelvik::test

// Every non-aligned form is replaced, so that no block allocated here is released by another
// allocator's delete (the sanitizer build checks that pairing). The aligned forms keep their
// own matching pair.
void *operator new(std::size_t size)
{
    if (void *block = trelvik::test::Allocate(size))
        return block;
    throw std::bad_alloc();
}

void *operator new[](std::size_t size)
{
    if (void *block = trelvik::test::Allocate(size))
        return block;
    throw std::bad_alloc();
}

void *operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    return trelvik::test::Allocate(size);
}

void *operator new[](std::size_t size, const std::nothrow_t &) noexcept
{
    return trelvik::test::Allocate(size);
}

void operator delete(void *block) noexcept
{
    std::free(block);
}

void operator delete[](void *block) noexcept
{
    std::free(block);
}

void operator delete(void *block, std::size_t) noexcept
{
    std::free(block);
}

void operator delete[](void *block, std::size_t) noexcept
{
    std::free(block);
}

void operator delete(void *block, const std::nothrow_t &) noexcept
{
    std::free(block);
}

void operator delete[](void *block, const std::nothrow_t &) noexcept
{
    std::free(block);
}
