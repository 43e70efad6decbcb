#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// A list of texts, one per report (its name and date, its notices), kept back
// to back in one string with where each ends: thousands of short texts cost
// their bytes, not a string and an allocation each.
class TextList {
  public:
    TextList() = default;
    TextList(std::initializer_list<std::string_view> texts) {
        for (const std::string_view text : texts)
            push_back(text);
    }

    void push_back(std::string_view text) {
        bytes_.append(text);
        ends_.push_back(bytes_.size());
    }

    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(bytes_).substr(begin, ends_[i] - begin);
    }

    // Calls f(text) once per entry, in order.
    template <typename F> void forEach(F&& f) const {
        for (std::size_t i = 0; i < ends_.size(); ++i)
            f((*this)[i]);
    }

  private:
    std::string bytes_;
    std::vector<std::size_t> ends_;
};

} // namespace kiv
