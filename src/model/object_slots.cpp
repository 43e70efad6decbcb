#include <cstddef>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

#include "model/coverage_function.hpp"
#include "model/coverage_probe.hpp"
#include "model/large_memory.hpp"

// Under AddressSanitizer every object is allocated on its own, so that the
// sanitizer sees each one.
#if defined(__SANITIZE_ADDRESS__)
#define KIV_PROBE_SLOTS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KIV_PROBE_SLOTS 0
#endif
#endif
#ifndef KIV_PROBE_SLOTS
#define KIV_PROBE_SLOTS 1
#endif

namespace kiv {

namespace {

// The memory of probes (and of their side records) and of functions: slots
// of one object each, cut from large chunks, and reused once freed. A model
// holds millions of probes and tens of thousands of functions; taking them
// from chunks saves the general allocator's bookkeeping on each (time, and a
// few bytes per probe), the page faults of memory touched bit by bit, and
// makes taking the model apart cheap. Chunks stay with the process, for the next model. The
// reading thread frees probes that the merging thread made, so the slots are
// guarded by a lock.
template <std::size_t kSlot> class Slots {
  public:
    void* allocate() {
        const std::lock_guard lock(mutex_);
        if (free_ != nullptr) {
            Free* slot = free_;
            free_ = slot->next;
            return slot;
        }
        if (next_ + kSlot > end_) {
            chunks_.push_back(allocateLarge(kChunkBytes));
            next_ = chunks_.back().get();
            end_ = next_ + kChunkBytes;
        }
        void* slot = next_;
        next_ += kSlot;
        return slot;
    }

    void release(void* memory) noexcept {
        const std::lock_guard lock(mutex_);
        auto* slot = static_cast<Free*>(memory);
        slot->next = free_;
        free_ = slot;
    }

  private:
    struct Free {
        Free* next;
    };
    // A chunk is one huge page where the system offers them.
    static constexpr std::size_t kChunkBytes = kHugePageBytes;
    static_assert(kSlot % alignof(Free) == 0 && kSlot >= sizeof(Free));
    static_assert(kSlot <= kChunkBytes);

    std::mutex mutex_;
    Free* free_ = nullptr;
    std::byte* next_ = nullptr;
    std::byte* end_ = nullptr;
    std::vector<LargeMemory> chunks_; // left uninitialised: every slot is written before use
};

template <typename T> Slots<sizeof(T)>& slotsOf() {
    static_assert(sizeof(T) % alignof(T) == 0);
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);
    // Never destroyed: a probe may outlive the end of main in a static object.
    static Slots<sizeof(T)>* const slots = new Slots<sizeof(T)>;
    return *slots;
}

template <typename T> void* allocateSlot(std::size_t size) {
    if (!KIV_PROBE_SLOTS || size != sizeof(T)) return ::operator new(size);
    return slotsOf<T>().allocate();
}

template <typename T> void releaseSlot(void* memory, std::size_t size) noexcept {
    if (memory == nullptr) return;
    if (!KIV_PROBE_SLOTS || size != sizeof(T)) {
        ::operator delete(memory);
        return;
    }
    slotsOf<T>().release(memory);
}

} // namespace

void* CoverageProbe::operator new(std::size_t size) {
    return allocateSlot<CoverageProbe>(size);
}

void CoverageProbe::operator delete(void* memory, std::size_t size) noexcept {
    releaseSlot<CoverageProbe>(memory, size);
}

void* CoverageFunction::operator new(std::size_t size) {
    return allocateSlot<CoverageFunction>(size);
}

void CoverageFunction::operator delete(void* memory, std::size_t size) noexcept {
    releaseSlot<CoverageFunction>(memory, size);
}

void* CoverageProbe::Extra::operator new(std::size_t size) {
    return allocateSlot<Extra>(size);
}

void CoverageProbe::Extra::operator delete(void* memory, std::size_t size) noexcept {
    releaseSlot<Extra>(memory, size);
}

} // namespace kiv
