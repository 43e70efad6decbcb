#pragma once

namespace kiv {

class Coverage;

// The model of the running merge. A Coverage registers itself when it is
// built and clears the registration when it is destroyed.
Coverage* currentCoverage();
void setCurrentCoverage(Coverage* coverage);
// Forgets the registration (tests that run several merges in one process).
inline void resetCurrentCoverage() { setCurrentCoverage(nullptr); }

} // namespace kiv
