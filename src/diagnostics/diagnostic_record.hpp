#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kiv {

// The diagnostic record: code, unit and up to two text arguments. A diagnostic
// is raised by filling the record step by step, composing the line (which
// clears the arguments) and throwing it.
class DiagnosticRecord {
  public:
    void setUnit(int unit) { unit_ = unit; }
    void setCode(int code) { code_ = code; }
    // Fills the first free argument slot. A third argument, or a missing one,
    // turns the diagnostic into an internal error (code 20, unit 8).
    void addArgument(const char* text);
    void addArgument(std::string_view text);

    // The complete line: prefix, code, unit, source line and message.
    std::string compose(int sourceLine, bool isError = true);

    int code() const { return code_; }
    int unit() const { return unit_; }

    void reset();

  private:
    int code_ = 0;
    int unit_ = 0;
    std::optional<std::string> first_;
    std::optional<std::string> second_;
    bool misused_ = false;
};

// The process-wide record.
DiagnosticRecord& diagnosticRecord();

// Substitutes the arguments for the "%s" conversions of a message, in order;
// "%%" gives "%". A conversion without an argument stays as written.
std::string formatMessage(std::string_view format, const std::optional<std::string>& first,
                          const std::optional<std::string>& second);

} // namespace kiv
