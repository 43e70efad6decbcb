#pragma once

#include <unordered_set>
#include <vector>

namespace kiv {

class CoverageFile;
class CoverageFunction;

// What the listing writer keeps while it writes: the file and function whose
// blocks are being written, the header part that an in-function line
// directive led into and that a later directive or function start leads back
// from, and the functions whose end line was written. The model itself is
// never changed.
struct ListingState {
    const CoverageFile* currentFile = nullptr;
    const CoverageFunction* currentFunction = nullptr;
    const CoverageFile* pendingDirectiveFile = nullptr;
    std::unordered_set<const CoverageFunction*> listedFunctions;
    // Header-part functions whose probes are being written right now.
    std::vector<const CoverageFunction*> expanding;

    bool isListed(const CoverageFunction& function) const {
        return listedFunctions.count(&function) != 0;
    }
    void markListed(const CoverageFunction& function) { listedFunctions.insert(&function); }
};

// The process-wide state of the listing writer.
ListingState& listingState();

// Forgets everything (before and after a listing, and between merges run in
// one process).
void resetListingState();

} // namespace kiv
