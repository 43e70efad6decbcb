#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// A list of texts, one per report in report order, whose neighbours are
// mostly equal (the version, the coverage views and the cost settings of the
// reports of one run): a run of equal neighbours is kept once with its
// length, so the list costs the texts that change, not the number of reports.
class TextRuns {
  public:
    TextRuns() = default;
    TextRuns(std::initializer_list<std::string_view> texts) {
        for (const std::string_view text : texts)
            push_back(text);
    }

    void push_back(std::string_view text) {
        if (runs_.empty() || runs_.back().text != text) runs_.push_back({std::string(text), 0});
        ++runs_.back().length;
        ++size_;
    }

    std::size_t size() const { return size_; }
    // How many runs of equal texts are kept.
    std::size_t runs() const { return runs_.size(); }
    bool empty() const { return size_ == 0; }
    // The first text; empty when the list is.
    std::string_view first() const {
        return runs_.empty() ? std::string_view{} : std::string_view{runs_.front().text};
    }

    // Calls f(text) once per entry, in order.
    template <typename F> void forEach(F&& f) const {
        for (const Run& run : runs_)
            for (std::size_t i = 0; i < run.length; ++i)
                f(run.text);
    }

  private:
    struct Run {
        std::string text;
        std::size_t length;
    };
    std::vector<Run> runs_;
    std::size_t size_ = 0;
};

} // namespace kiv
