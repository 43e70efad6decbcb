#pragma once

#include "model/coverage.hpp"

namespace kiv {

// Adds the hits, all and measurement points of every header part's pseudo
// function to the function whose body held that header code. A part whose
// function cannot be found changes nothing.
void foldHeaderParts(Coverage& coverage);

// Recomputes hits, all, TER and point count of every source or header file
// that received header-part counts into its functions.
void resumFilesWithHeaderParts(Coverage& coverage);

} // namespace kiv
