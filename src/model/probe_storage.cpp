#include <cstddef>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

#include "model/coverage_probe.hpp"

// Under AddressSanitizer every probe is allocated on its own, so that the
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

// The memory of probes: slots of one probe each, cut from large chunks, and
// reused once freed. A model holds millions of probes; taking them from
// chunks saves the general allocator's bookkeeping on each (time, and a few
// bytes per probe) and makes taking the model apart cheap. Chunks stay with
// the process, for the next model. The reading thread frees probes that the
// merging thread made, so the slots are guarded by a lock.
class ProbeSlots {
  public:
    void* allocate() {
        const std::lock_guard lock(mutex_);
        if (free_ != nullptr) {
            Free* slot = free_;
            free_ = slot->next;
            return slot;
        }
        if (next_ == end_) {
            chunks_.push_back(std::make_unique<std::byte[]>(kChunk * kSlot));
            next_ = chunks_.back().get();
            end_ = next_ + kChunk * kSlot;
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
    static constexpr std::size_t kSlot = sizeof(CoverageProbe);
    static constexpr std::size_t kChunk = 4096; // probes per chunk
    static_assert(kSlot % alignof(CoverageProbe) == 0 && kSlot >= sizeof(Free));
    static_assert(alignof(CoverageProbe) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);

    std::mutex mutex_;
    Free* free_ = nullptr;
    std::byte* next_ = nullptr;
    std::byte* end_ = nullptr;
    std::vector<std::unique_ptr<std::byte[]>> chunks_;
};

ProbeSlots& probeSlots() {
    // Never destroyed: a probe may outlive the end of main in a static object.
    static ProbeSlots* const slots = new ProbeSlots;
    return *slots;
}

} // namespace

void* CoverageProbe::operator new(std::size_t size) {
    if (!KIV_PROBE_SLOTS || size != sizeof(CoverageProbe)) return ::operator new(size);
    return probeSlots().allocate();
}

void CoverageProbe::operator delete(void* memory, std::size_t size) noexcept {
    if (memory == nullptr) return;
    if (!KIV_PROBE_SLOTS || size != sizeof(CoverageProbe)) {
        ::operator delete(memory);
        return;
    }
    probeSlots().release(memory);
}

} // namespace kiv
