#pragma once

namespace kiv {

// Whether the probe last counted for measurement points was something other
// than a multi-condition probe. It is one flag for the whole run: the count
// carries it from one function into the next. True when a run starts.
bool previousWasNotMultiCondition();
void setPreviousWasNotMultiCondition(bool value);
// Back to the state of a fresh run.
void resetMultiConditionFlag();

} // namespace kiv
