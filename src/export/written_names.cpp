#include "export/written_names.hpp"

#include "model/file_identity.hpp"

namespace kiv {

namespace {

// A byte as it stands in a key.
char keyByte(char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    return c == '/' ? '\\' : c;
}

} // namespace

WrittenNames::WrittenNames(std::string_view root, bool noDriveLetter)
    : hasRoot_(!root.empty()), noDriveLetter_(noDriveLetter),
      root_(normaliseName(root, noDriveLetter)) {
    if (!root_.empty() && root_.back() == '\\') root_.pop_back();
}

std::size_t WrittenNames::rootPrefix(std::string_view name) const {
    std::size_t at = 0;
    // The drive rule of keys: "C:" goes unless nothing would be left.
    if (noDriveLetter_ && name.size() > 2 && name[1] == ':') at = 2;
    bool afterSeparator = false;
    for (std::size_t matched = 0; matched < root_.size(); ++at) {
        if (at == name.size()) return 0;
        const char c = keyByte(name[at]);
        if (c == '\\' && afterSeparator) continue; // a run of separators counts once
        if (c != root_[matched]) return 0;
        afterSeparator = c == '\\';
        ++matched;
    }
    if (at == name.size() || !isNameSeparator(name[at])) return 0;
    while (at < name.size() && isNameSeparator(name[at]))
        ++at;
    return at < name.size() ? at : 0;
}

void WrittenNames::append(std::string& out, std::string_view displayName) const {
    const std::size_t prefix = hasRoot_ ? rootPrefix(displayName) : 0;
    if (prefix == 0) {
        out.append(displayName);
        return;
    }
    for (const char c : displayName.substr(prefix))
        out.push_back(c == '\\' ? '/' : c);
}

std::string WrittenNames::written(std::string_view displayName) const {
    std::string out;
    append(out, displayName);
    return out;
}

} // namespace kiv
