#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/coverage_common.hpp"
#include "model/file_identity.hpp"

namespace kiv {

class ReportReader;

// Reads kivpost XML coverage reports into the current Coverage.
class KIVParser : public CoverageCommon {
  public:
    KIVParser(bool noDriveLetter, std::vector<std::string> chosenPatterns,
              std::vector<std::string> unchosenPatterns);
    ~KIVParser() override;

    // Reads one report into the current Coverage; throws kiv::Error.
    void parse(std::string fileName);
    // Reads the reports in their order into the current Coverage, merging
    // the probes of one while the next is read; throws the error that
    // reading them one after the other would.
    void parseAll(std::span<const std::string_view> fileNames);

    // The two forms of a file name and the -f/-nf decision, under this
    // parser's drive letter rule and patterns.
    std::string displayName(std::string_view name) const;
    std::string normaliseName(std::string_view name) const;
    bool isChosen(std::string_view displayName) const;
    bool matchPattern(std::string_view pattern, std::string_view name) const;

  private:
    FileFilter filter_;
    std::unique_ptr<ReportReader> reader_;
};

} // namespace kiv
