// recibo-lote -j N when the computing threads get no memory at all: the run
// ends with status 2 and says why, never by an abort from a thread. Its own
// program, as it replaces operator new for the whole process.

#include <atomic>
#include <cstdlib>
#include <new>
#include <sstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "batch/batch.h"

namespace {

std::atomic<bool> starveWorkers{false};
std::thread::id mainThread;

}  // namespace

void* operator new(std::size_t size)
{
    if (starveWorkers.load(std::memory_order_relaxed) && std::this_thread::get_id() != mainThread)
        throw std::bad_alloc();
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

// Every other form of new and delete that a sanitizer would otherwise
// provide pairs with these, so that what one allocates the other frees.
void* operator new[](std::size_t size)
{
    return operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return operator new(size, std::nothrow);
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}

namespace recibo::batch {
namespace {

TEST(WorkerMemory, AThreadWithNoMemoryEndsTheRunWithStatus2)
{
    mainThread = std::this_thread::get_id();
    std::string text = "docente,tipo,numerohorasmed\n";
    for (int row = 0; row < 2000; ++row)
        text += "Ana,medio,12\n";
    for (const char* jobs : {"2", "16"}) {
        std::istringstream table(text);
        std::ostringstream out, err;
        starveWorkers = true;
        const int status = runBatch({"--locale", "C", "-j", jobs, "-"}, table, out, err);
        starveWorkers = false;
        EXPECT_EQ(status, kInputUnusable) << jobs;
        EXPECT_EQ(err.str(), "recibo-lote: no hay memoria suficiente para la tabla\n") << jobs;
    }
}

}  // namespace
}  // namespace recibo::batch
