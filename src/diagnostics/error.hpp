#pragma once

#include <stdexcept>

namespace kiv {

// The one exception type of the program: its message is the complete diagnostic
// line, ready to be written to standard error.
class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace kiv
