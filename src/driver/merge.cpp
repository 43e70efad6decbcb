#include "driver/merge.hpp"

#include "driver/version.hpp"
#include "model/coverage.hpp"
#include "reader/kiv_parser.hpp"

namespace kiv {

std::unique_ptr<Coverage> readInputs(const Settings& settings) {
    // The model registers itself as the current one; the parser reaches it
    // only through that registration, so it is built first.
    auto coverage =
        std::make_unique<Coverage>(versionText(), settings.arguments, settings.chosenPatterns,
                                   settings.unchosenPatterns, copyrightLines());
    KIVParser parser(settings.noDriveLetter, settings.chosenPatterns, settings.unchosenPatterns);
    parser.parseAll(settings.inputNames());
    return coverage;
}

} // namespace kiv
