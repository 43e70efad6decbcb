#include "evaluation/multi_condition_flag.hpp"

namespace kiv {

namespace {

bool previousNotMultiCondition = true;

} // namespace

bool previousWasNotMultiCondition() {
    return previousNotMultiCondition;
}

void setPreviousWasNotMultiCondition(bool value) {
    previousNotMultiCondition = value;
}

void resetMultiConditionFlag() {
    previousNotMultiCondition = true;
}

} // namespace kiv
