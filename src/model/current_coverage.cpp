#include "model/current_coverage.hpp"

namespace kiv {

namespace {
Coverage* current = nullptr;
} // namespace

Coverage* currentCoverage() { return current; }
void setCurrentCoverage(Coverage* coverage) { current = coverage; }

} // namespace kiv
