#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/coverage_common.hpp"

namespace kiv {

// Reads kivpost XML coverage reports into the current Coverage.
class KIVParser : public CoverageCommon {
  public:
    KIVParser(bool noDriveLetter, std::vector<std::string> chosenPatterns,
              std::vector<std::string> unchosenPatterns);
    ~KIVParser() override;

    // Reads one report into the current Coverage; throws kiv::Error.
    void parse(std::string fileName);
};

} // namespace kiv
