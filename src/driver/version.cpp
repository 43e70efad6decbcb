#include "driver/version.hpp"

#include <cstdio>

namespace kiv {

namespace {

#define KIV_VERSION_MAJOR 1
#define KIV_VERSION_MINOR 0
#define KIV_VERSION_PATCH 0
#define KIV_VERSION_BUILD 0
#define KIV_STR2(x) #x
#define KIV_STR(x) KIV_STR2(x)

constexpr int kMajor = KIV_VERSION_MAJOR;
constexpr int kMinor = KIV_VERSION_MINOR;
constexpr int kPatch = KIV_VERSION_PATCH;
constexpr int kBuild = KIV_VERSION_BUILD;

// Kept in the binary so that the version can be read from the file itself.
volatile const char marker[] =
    "$VERSIONINFO$" KIV_STR(KIV_VERSION_MAJOR) "." KIV_STR(KIV_VERSION_MINOR) "." KIV_STR(
        KIV_VERSION_PATCH) "." KIV_STR(KIV_VERSION_BUILD) "$" __DATE__ "$" __TIME__ "$$";

} // namespace

const std::string& versionText() {
    static const std::string text = [] {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%d.%d.%d.%d", kMajor, kMinor, kPatch, kBuild);
        return std::string(buffer);
    }();
    return text;
}

const char* versionMarker() {
    return const_cast<const char*>(marker);
}

std::vector<std::string> copyrightLines() {
    return {"Copyright (c) 1993-2013 The KIVEX Authors",
            "Copyright (c) 2013-2026 The KIVEX Authors"};
}

} // namespace kiv
