#include "driver/output.hpp"

#include <filesystem>
#include <system_error>

namespace kiv {

bool separateFiles(const std::string& first, const std::string& second) {
    namespace fs = std::filesystem;
    if (first == "-" || second == "-") return false;
    std::error_code failed;
    // Absolute first: a name none of whose parts exists would stay as given.
    const fs::path a = fs::weakly_canonical(fs::absolute(first, failed), failed);
    if (failed) return false;
    const fs::path b = fs::weakly_canonical(fs::absolute(second, failed), failed);
    if (failed || a == b) return false;
    // Two existing names may still be links to one file.
    const bool same = fs::equivalent(a, b, failed);
    return !same && (!failed || !fs::exists(a, failed) || !fs::exists(b, failed));
}

} // namespace kiv
