#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// The name shown in the reports: the report's own spelling, with the drive
// prefix ("C:") removed when noDriveLetter is set.
std::string displayName(std::string_view name, bool noDriveLetter);

// The key that identifies a file: drive rule, ASCII lower case, "/" as "\",
// runs of "\" collapsed to one.
std::string normaliseName(std::string_view name, bool noDriveLetter);

// Matches a normalised -f/-nf pattern against a normalised name; "*" is the
// only wildcard.
bool matchPattern(std::string_view pattern, std::string_view name);

// The -f/-nf decision: which files are reported.
class FileFilter {
  public:
    FileFilter(bool noDriveLetter, const std::vector<std::string>& chosenPatterns,
               const std::vector<std::string>& unchosenPatterns);

    bool isChosen(std::string_view displayName) const;
    bool noDriveLetter() const { return noDriveLetter_; }

  private:
    bool noDriveLetter_;
    std::vector<std::string> chosen_;   // normalised
    std::vector<std::string> unchosen_; // normalised
};

} // namespace kiv
