#include "model/large_memory.hpp"

#include <mutex>
#include <new>

#include <sys/mman.h>

namespace kiv {

void LargeMemoryDelete::operator()(std::byte* memory) const noexcept {
    ::operator delete (memory, std::align_val_t{alignment});
}

namespace {

LargeMemory allocateFresh(std::size_t bytes) {
    const bool huge = bytes >= kHugePageBytes;
    const std::size_t alignment = huge ? kHugePageBytes : __STDCPP_DEFAULT_NEW_ALIGNMENT__;
    void* memory = ::operator new (bytes, std::align_val_t{alignment});
#ifdef MADV_HUGEPAGE
    if (huge) ::madvise(memory, bytes, MADV_HUGEPAGE); // a hint: failure changes nothing
#endif
    return LargeMemory(static_cast<std::byte*>(memory), LargeMemoryDelete{alignment});
}

// The huge page touched ahead, and how many huge pages were asked for. Never
// destroyed: probes may be allocated while static objects are destroyed.
struct Prepared {
    std::mutex mutex;
    LargeMemory page;
    std::size_t pagesTaken = 0;
};

// A model of a few huge pages (one chunk of each kind) is not growing much: a
// page touched ahead for it would likely be memory never used.
constexpr std::size_t kPagesBeforePreparing = 8;

Prepared& prepared() {
    static Prepared* const prepared = new Prepared;
    return *prepared;
}

} // namespace

LargeMemory allocateLarge(std::size_t bytes) {
    if (bytes == kHugePageBytes) {
        Prepared& ahead = prepared();
        const std::lock_guard lock(ahead.mutex);
        ++ahead.pagesTaken;
        if (ahead.page) return std::move(ahead.page);
    }
    return allocateFresh(bytes);
}

void prepareLargeMemory() {
    Prepared& ahead = prepared();
    {
        const std::lock_guard lock(ahead.mutex);
        if (ahead.page || ahead.pagesTaken < kPagesBeforePreparing) return;
    }
    LargeMemory page = allocateFresh(kHugePageBytes);
    // A write to every small page makes the system provide (and clear) them
    // now, on this thread.
    constexpr std::size_t kSmallPage = 4096;
    for (std::size_t at = 0; at < kHugePageBytes; at += kSmallPage)
        page.get()[at] = std::byte{0};
    const std::lock_guard lock(ahead.mutex);
    if (!ahead.page) ahead.page = std::move(page);
}

void releaseLargeMemory() noexcept {
    LargeMemory page;
    Prepared& ahead = prepared();
    {
        const std::lock_guard lock(ahead.mutex);
        page = std::move(ahead.page);
    }
}

} // namespace kiv
