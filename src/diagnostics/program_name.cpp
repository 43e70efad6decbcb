#include "diagnostics/program_name.hpp"

namespace kiv {

namespace {

// Set from a literal before any thread starts; only read afterwards.
std::string_view currentName = "kivxmlmerge";

} // namespace

void setProgramName(std::string_view name) {
    currentName = name;
}

std::string_view programName() {
    return currentName;
}

} // namespace kiv
