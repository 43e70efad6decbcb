#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// Splits the text of an options file into tokens: blanks outside double quotes,
// tabs, line feeds and carriage returns end a token; double quotes switch the
// quoted state (which carries over line ends) and are dropped; empty tokens
// are dropped.
class OptionsTokenizer {
  public:
    void feed(std::string_view text);
    // Ends the input and returns every token found.
    std::vector<std::string> finish();

  private:
    void endToken();
    std::vector<std::string> tokens_;
    std::string current_;
    bool quoted_ = false;
};

// The tokens of the named options file; nothing when it cannot be opened.
std::optional<std::vector<std::string>> readOptionsFile(const std::string& name);

} // namespace kiv
