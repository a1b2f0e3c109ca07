// The program's operator new and delete: from the C library's heap, or while
// an UnreadableOnceFreed lives, from pages of a region reserved for them, one
// run of pages per block, taken away again when the block is freed.
#include "FreedMemory.h"

#include <windows.h>

#include <cstdlib>
#include <new>

namespace {

constexpr size_t RegionSize = size_t(512) << 20;
constexpr size_t PageSize = 4096;
// Before each block: the bytes of its pages.
constexpr size_t Header = 16;

SRWLOCK lock = SRWLOCK_INIT;
int unreadableScopes = 0;
char* region = nullptr;
size_t used = 0;

// Null when the region is used up: the heap serves then.
void* PagesOfItsOwn(size_t size)
{
    AcquireSRWLockExclusive(&lock);
    void* block = nullptr;
    if (!region)
        region = static_cast<char*>(VirtualAlloc(nullptr, RegionSize, MEM_RESERVE, PAGE_NOACCESS));
    const size_t bytes = (size + Header + PageSize - 1) / PageSize * PageSize;
    if (region && bytes <= RegionSize - used) {
        char* pages = region + used;
        if (VirtualAlloc(pages, bytes, MEM_COMMIT, PAGE_READWRITE)) {
            used += bytes;
            *reinterpret_cast<size_t*>(pages) = bytes;
            block = pages + Header;
        }
    }
    ReleaseSRWLockExclusive(&lock);
    return block;
}

bool InRegion(const void* p)
{
    return region && p >= region && p < region + RegionSize;
}

} // namespace

UnreadableOnceFreed::UnreadableOnceFreed()
{
    AcquireSRWLockExclusive(&lock);
    ++unreadableScopes;
    ReleaseSRWLockExclusive(&lock);
}

UnreadableOnceFreed::~UnreadableOnceFreed()
{
    AcquireSRWLockExclusive(&lock);
    --unreadableScopes;
    ReleaseSRWLockExclusive(&lock);
}

void* operator new(size_t size)
{
    if (size == 0)
        size = 1;
    if (unreadableScopes > 0) {
        if (void* block = PagesOfItsOwn(size))
            return block;
    }
    if (void* block = std::malloc(size))
        return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept
{
    if (!block)
        return;
    if (InRegion(block)) {
        char* pages = static_cast<char*>(block) - Header;
        VirtualFree(pages, *reinterpret_cast<size_t*>(pages), MEM_DECOMMIT);
        return;
    }
    std::free(block);
}

void operator delete(void* block, size_t) noexcept
{
    ::operator delete(block);
}
