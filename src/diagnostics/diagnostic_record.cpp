#include "diagnostics/diagnostic_record.hpp"

#include "diagnostics/message_table.hpp"
#include "diagnostics/program_name.hpp"
#include "diagnostics/units.hpp"

namespace kiv {

DiagnosticRecord& diagnosticRecord() {
    static DiagnosticRecord record;
    return record;
}

void DiagnosticRecord::addArgument(const char* text) {
    if (text == nullptr) {
        misused_ = true;
        return;
    }
    addArgument(std::string_view(text));
}

void DiagnosticRecord::addArgument(std::string_view text) {
    if (!first_) {
        first_.emplace(text);
    } else if (!second_) {
        second_.emplace(text);
    } else {
        misused_ = true;
    }
}

void DiagnosticRecord::reset() {
    code_ = 0;
    unit_ = 0;
    first_.reset();
    second_.reset();
    misused_ = false;
}

std::string formatMessage(std::string_view format, const std::optional<std::string>& first,
                          const std::optional<std::string>& second) {
    std::string out;
    out.reserve(format.size() + (first ? first->size() : 0) + (second ? second->size() : 0));
    const std::optional<std::string>* next[] = {&first, &second};
    std::size_t used = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '%' && i + 1 < format.size()) {
            const char conversion = format[i + 1];
            if (conversion == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (conversion == 's' && used < 2 && *next[used]) {
                out += **next[used];
                ++used;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

std::string DiagnosticRecord::compose(int sourceLine, bool isError) {
    if (misused_) {
        code_ = kInternalError;
        unit_ = static_cast<int>(Unit::Internal);
        first_.reset();
        second_.reset();
        misused_ = false;
    }
    std::string line = "*** ";
    line += programName();
    line += isError ? " error " : " warning ";
    line += std::to_string(code_);
    line += " (";
    line += std::to_string(unit_);
    line += '/';
    line += std::to_string(sourceLine);
    line += "): ";
    const std::string_view message = messageText(code_);
    if (!first_ && !second_) {
        line += message; // copied unchanged, without any format processing
    } else {
        line += formatMessage(message, first_, second_);
    }
    first_.reset();
    second_.reset();
    return line;
}

} // namespace kiv
