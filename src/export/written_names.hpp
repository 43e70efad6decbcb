#pragma once

#include <string>
#include <string_view>

namespace kiv {

// The names files are written under. Below the root directory (-root), a name
// is written relative to it with "/" as its separator; any other name as
// displayed. The root is compared as file keys are: ASCII letters of any
// case, "/" and "\" alike, a run of separators as one, drive letters dropped
// when noDriveLetter is set.
class WrittenNames {
  public:
    // An empty root writes every name as displayed.
    WrittenNames(std::string_view root, bool noDriveLetter);

    // Appends the written form of displayName to out.
    void append(std::string& out, std::string_view displayName) const;
    std::string written(std::string_view displayName) const;

  private:
    // The length of the part of name that the root and the separators after
    // it take, or 0 when name does not lie below the root.
    std::size_t rootPrefix(std::string_view name) const;

    bool hasRoot_ = false;
    bool noDriveLetter_ = false;
    std::string root_; // as a key, without a separator at its end
};

// Whether c separates the parts of a file name.
inline bool isNameSeparator(char c) {
    return c == '/' || c == '\\';
}

} // namespace kiv
