#include "driver/options_file.hpp"

#include <cstdio>
#include <memory>

namespace kiv {

void OptionsTokenizer::endToken() {
    if (!current_.empty()) tokens_.push_back(std::move(current_));
    current_.clear();
}

void OptionsTokenizer::feed(std::string_view text) {
    for (const char c : text) {
        switch (c) {
        case '\t':
        case '\n':
        case '\r':
            endToken();
            break;
        case ' ':
            if (quoted_) {
                current_ += c;
            } else {
                endToken();
            }
            break;
        case '"':
            quoted_ = !quoted_;
            break;
        default:
            current_ += c;
            break;
        }
    }
}

std::vector<std::string> OptionsTokenizer::finish() {
    endToken();
    quoted_ = false;
    return std::move(tokens_);
}

std::optional<std::vector<std::string>> readOptionsFile(const std::string& name) {
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file(std::fopen(name.c_str(), "rb"));
    if (!file) return std::nullopt;
    OptionsTokenizer tokenizer;
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        tokenizer.feed(std::string_view(buffer, got));
    }
    return tokenizer.finish();
}

} // namespace kiv
