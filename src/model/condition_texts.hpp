#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace kiv {

// The condition texts of an mcdc probe, "MC/DC (cond N: ...)", one per
// condition, filled when the model is finished. Only mcdc probes have any, so
// every other probe pays one empty pointer for the list.
class ConditionTexts {
  public:
    using value_type = std::string;
    using const_iterator = std::vector<std::string>::const_iterator;
    using iterator = const_iterator;

    ConditionTexts() = default;
    ConditionTexts(std::initializer_list<std::string> texts) {
        for (const std::string& text : texts)
            push_back(text);
    }
    ConditionTexts(const ConditionTexts& other) { *this = other; }
    ConditionTexts(ConditionTexts&&) noexcept = default;
    ConditionTexts& operator=(const ConditionTexts& other) {
        if (this != &other)
            texts_ =
                other.empty() ? nullptr : std::make_unique<std::vector<std::string>>(*other.texts_);
        return *this;
    }
    ConditionTexts& operator=(ConditionTexts&&) noexcept = default;
    ~ConditionTexts() = default;

    void push_back(std::string text) {
        if (!texts_) texts_ = std::make_unique<std::vector<std::string>>();
        texts_->push_back(std::move(text));
    }
    void clear() { texts_.reset(); }

    const std::vector<std::string>& items() const { return texts_ ? *texts_ : none(); }
    const_iterator begin() const { return items().begin(); }
    const_iterator end() const { return items().end(); }
    std::size_t size() const { return items().size(); }
    bool empty() const { return items().empty(); }
    const std::string& operator[](std::size_t i) const { return items()[i]; }

    friend bool operator==(const ConditionTexts& a, const ConditionTexts& b) {
        return a.items() == b.items();
    }
    friend bool operator==(const ConditionTexts& a, const std::vector<std::string>& b) {
        return a.items() == b;
    }

  private:
    static const std::vector<std::string>& none() {
        static const std::vector<std::string> empty;
        return empty;
    }

    std::unique_ptr<std::vector<std::string>> texts_;
};

} // namespace kiv
