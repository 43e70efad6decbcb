#include "model/file_identity.hpp"

#include <cstddef>

namespace kiv {

namespace {

// Names and patterns are zero-terminated texts: an embedded NUL ends them.
std::string_view untilNul(std::string_view text) {
    const std::size_t nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

// Under -ndl a leading "X:" is dropped, unless nothing would be left.
std::string_view withoutDrive(std::string_view name, bool noDriveLetter) {
    if (noDriveLetter && name.size() > 2 && name[1] == ':') return name.substr(2);
    return name;
}

// First position at or after `from` where `segment` occurs in `text`, or npos.
// Knuth-Morris-Pratt, so a long name and a long segment stay linear.
std::size_t findSegment(std::string_view text, std::size_t from, std::string_view segment) {
    if (segment.empty()) return from;
    std::vector<std::size_t> border(segment.size(), 0);
    for (std::size_t i = 1, k = 0; i < segment.size(); ++i) {
        while (k > 0 && segment[i] != segment[k])
            k = border[k - 1];
        if (segment[i] == segment[k]) ++k;
        border[i] = k;
    }
    for (std::size_t i = from, k = 0; i < text.size(); ++i) {
        while (k > 0 && text[i] != segment[k])
            k = border[k - 1];
        if (text[i] == segment[k]) ++k;
        if (k == segment.size()) return i + 1 - k;
    }
    return std::string_view::npos;
}

bool matchesAny(const std::vector<std::string>& patterns, std::string_view name) {
    for (const std::string& pattern : patterns)
        if (matchPattern(pattern, name)) return true;
    return false;
}

std::vector<std::string> normaliseAll(const std::vector<std::string>& patterns,
                                      bool noDriveLetter) {
    std::vector<std::string> normalised;
    normalised.reserve(patterns.size());
    for (const std::string& pattern : patterns)
        normalised.push_back(normaliseName(pattern, noDriveLetter));
    return normalised;
}

} // namespace

std::string displayName(std::string_view name, bool noDriveLetter) {
    return std::string(withoutDrive(name, noDriveLetter));
}

std::string normaliseName(std::string_view name, bool noDriveLetter) {
    const std::string_view text = withoutDrive(name, noDriveLetter);
    std::string key;
    key.reserve(text.size());
    for (const char c : text) {
        if (c == '/' || c == '\\') {
            // A run of separators becomes one backslash.
            if (key.empty() || key.back() != '\\') key.push_back('\\');
        } else if (c >= 'A' && c <= 'Z') {
            key.push_back(static_cast<char>(c - 'A' + 'a'));
        } else {
            key.push_back(c);
        }
    }
    return key;
}

bool matchPattern(std::string_view patternText, std::string_view nameText) {
    const std::string_view pattern = untilNul(patternText);
    const std::string_view name = untilNul(nameText);

    // "*suffix": the name must end with the suffix.
    if (!pattern.empty() && pattern[0] == '*' && pattern.find('*', 1) == std::string_view::npos &&
        pattern.size() < name.size()) {
        const std::string_view suffix = pattern.substr(1);
        return name.substr(name.size() - suffix.size()) == suffix;
    }

    // Left to right; each "*" jumps to the first place where the following
    // segment occurs, and that choice is never revisited.
    std::size_t p = 0;
    std::size_t n = 0;
    while (true) {
        if (p == pattern.size()) return n == name.size();
        if (pattern[p] == '*') {
            if (p + 1 == pattern.size()) return true;
            std::size_t segmentEnd = pattern.find('*', p + 1);
            if (segmentEnd == std::string_view::npos) segmentEnd = pattern.size();
            const std::string_view segment = pattern.substr(p + 1, segmentEnd - p - 1);
            const std::size_t at = findSegment(name, n, segment);
            if (at == std::string_view::npos) return false;
            // The segment is known to be there: step over it.
            n = at + segment.size();
            p = segmentEnd;
            continue;
        }
        if (n == name.size()) return false;
        if (pattern[p] != name[n]) return false;
        ++p;
        ++n;
    }
}

FileFilter::FileFilter(bool noDriveLetter, const std::vector<std::string>& chosenPatterns,
                       const std::vector<std::string>& unchosenPatterns)
    : noDriveLetter_(noDriveLetter), chosen_(normaliseAll(chosenPatterns, noDriveLetter)),
      unchosen_(normaliseAll(unchosenPatterns, noDriveLetter)) {}

bool FileFilter::isChosen(std::string_view displayName) const {
    if (chosen_.empty() && unchosen_.empty()) return true;
    const std::string key = normaliseName(displayName, noDriveLetter_);
    if (!chosen_.empty()) return matchesAny(chosen_, key);
    return !matchesAny(unchosen_, key);
}

} // namespace kiv
