#include "model/large_memory.hpp"

#include <new>

#include <sys/mman.h>

namespace kiv {

void LargeMemoryDelete::operator()(std::byte* memory) const noexcept {
    ::operator delete (memory, std::align_val_t{alignment});
}

LargeMemory allocateLarge(std::size_t bytes) {
    const bool huge = bytes >= kHugePageBytes;
    const std::size_t alignment = huge ? kHugePageBytes : __STDCPP_DEFAULT_NEW_ALIGNMENT__;
    void* memory = ::operator new (bytes, std::align_val_t{alignment});
#ifdef MADV_HUGEPAGE
    if (huge) ::madvise(memory, bytes, MADV_HUGEPAGE); // a hint: failure changes nothing
#endif
    return LargeMemory(static_cast<std::byte*>(memory), LargeMemoryDelete{alignment});
}

} // namespace kiv
