#pragma once

#include "model/coverage.hpp"

namespace kiv {

// The overall counters and TERs over every chosen source and header file.
void sumChosenFiles(Coverage& coverage);

} // namespace kiv
