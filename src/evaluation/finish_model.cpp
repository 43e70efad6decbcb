#include "model/coverage.hpp"

namespace kiv {

void Coverage::finishModel() {}

} // namespace kiv
