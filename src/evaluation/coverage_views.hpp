#pragma once

#include <string>

#include "model/text_runs.hpp"

namespace kiv {

// The one coverage view under which all inputs were produced. Each input
// contributes the first known view name its text contains that is not yet
// listed; unless exactly one name results the run stops with code 16.
std::string resolveRequestedView(const TextRuns& inputViews);

// The coverage kinds the inputs show, combined into one text: a single word,
// "mixed a/b/..." for several, or empty when no input names any.
std::string combineShownViews(const TextRuns& inputViews);

} // namespace kiv
