#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/error.hpp"
#include "driver/merge.hpp"
#include "driver/settings.hpp"
#include "model/coverage.hpp"

namespace kiv::test {

// Reads the reports named in settings into a new model, as a run does.
inline std::unique_ptr<Coverage> readReports(const Settings& settings) {
    return readInputs(settings);
}

inline std::unique_ptr<Coverage> readReports(const std::vector<std::string>& paths) {
    Settings settings;
    for (const std::string& path : paths)
        settings.addInput(path);
    return readInputs(settings);
}

// The complete diagnostic line with which reading the reports ends, or "no
// error".
inline std::string readFailure(const std::vector<std::string>& paths) {
    try {
        readReports(paths);
    } catch (const Error& e) {
        return e.what();
    }
    return "no error";
}

// The message part of a diagnostic line (after the code, unit and line).
inline std::string messageOf(const std::string& line) {
    const std::size_t at = line.find("): ");
    return at == std::string::npos ? line : line.substr(at + 3);
}

// Replaces the first occurrence of from; the text must hold it.
inline std::string replaced(std::string text, std::string_view from, std::string_view to) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos) return "replaced text not found: " + std::string(from);
    text.replace(at, from.size(), to);
    return text;
}

// The lines of a model dump from the line that starts with title up to the
// next file (or the end).
inline std::string dumpSection(const std::string& dump, std::string_view title) {
    std::size_t at = 0;
    while (at < dump.size() && dump.compare(at, title.size(), title) != 0) {
        at = dump.find('\n', at);
        if (at == std::string::npos) return "section not found: " + std::string(title);
        ++at;
    }
    if (at >= dump.size()) return "section not found: " + std::string(title);
    std::size_t end = dump.find("\nfile ", at);
    return dump.substr(at, end == std::string::npos ? std::string::npos : end + 1 - at);
}

} // namespace kiv::test
