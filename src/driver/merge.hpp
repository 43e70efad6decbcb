#pragma once

#include <memory>

#include "driver/settings.hpp"

namespace kiv {

class Coverage;

// Builds the model of a run and reads every input report into it, in
// command-line order. The model is not finished yet.
std::unique_ptr<Coverage> readInputs(const Settings& settings);

} // namespace kiv
