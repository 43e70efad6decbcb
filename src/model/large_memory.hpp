#pragma once

#include <cstddef>
#include <memory>

namespace kiv {

// Memory for the model's large arrays and chunks. A block of at least a huge
// page is aligned to one and marked as wanting huge pages where the system
// offers them: touching a model of a hundred megabytes then costs some fifty
// page faults instead of tens of thousands, which are dear on virtual
// machines. A smaller block is ordinary memory. Left uninitialised.
inline constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

struct LargeMemoryDelete {
    std::size_t alignment = 0; // what the block was allocated with
    void operator()(std::byte* memory) const noexcept;
};
using LargeMemory = std::unique_ptr<std::byte, LargeMemoryDelete>;

LargeMemory allocateLarge(std::size_t bytes);

// A thread that would wait otherwise can take the first touch of the next
// huge page of the model off the thread that builds it: prepareLargeMemory()
// touches one, which the next allocateLarge(kHugePageBytes) takes, once the
// model has taken several (a small model gets none ahead). One such page is
// kept at most; releaseLargeMemory() gives it back (when the model stops
// growing, and between runs in one process).
void prepareLargeMemory();
void releaseLargeMemory() noexcept;

} // namespace kiv
