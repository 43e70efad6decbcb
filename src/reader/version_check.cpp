#include "reader/version_check.hpp"

namespace kiv {

bool isAcceptedVersion(std::string_view version) {
    if (version.empty()) return false;
    if (version[0] == '9') return true;
    return version.size() >= 3 && version[0] == '8' && (version[2] == '2' || version[2] == '3');
}

} // namespace kiv
