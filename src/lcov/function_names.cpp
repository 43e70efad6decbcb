#include "lcov/function_names.hpp"

#include <algorithm>
#include <functional>
#include <string_view>

#include "model/coverage_file.hpp"

namespace kiv {

namespace {

// A function's name as written before any "@": its name, its parameters when
// they are part of it, commas as ";".
class BaseName {
  public:
    BaseName(const CoverageFunction& function, bool withParameters)
        : name_(function.name),
          parameters_(withParameters ? std::string_view(function.parameters) : std::string_view()) {
    }

    std::size_t size() const { return name_.size() + parameters_.size(); }
    char operator[](std::size_t at) const {
        const char c = at < name_.size() ? name_[at] : parameters_[at - name_.size()];
        return c == ',' ? ';' : c;
    }
    void appendTo(std::string& out) const {
        for (std::size_t at = 0; at < size(); ++at)
            out.push_back((*this)[at]);
    }
    std::uint64_t hash() const {
        std::uint64_t hash = 14695981039346656037ULL; // FNV-1a
        for (std::size_t at = 0; at < size(); ++at)
            hash = (hash ^ static_cast<unsigned char>((*this)[at])) * 1099511628211ULL;
        return hash;
    }
    bool operator==(const BaseName& other) const {
        if (size() != other.size()) return false;
        for (std::size_t at = 0; at < size(); ++at)
            if ((*this)[at] != other[at]) return false;
        return true;
    }

  private:
    std::string_view name_;
    std::string_view parameters_;
};

struct Entry {
    std::uint64_t hash;
    std::uint32_t index; // in the file's order
    const CoverageFunction* function;
};

// Sorts entries by hash, then by the file's order, and calls
// onGroup(first, last) for every run of entries whose keys are equal
// (entries of one hash whose keys differ form runs of their own).
template <typename Key, typename OnGroup>
void forEachEqualGroup(std::vector<Entry>& entries, Key key, OnGroup onGroup) {
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.hash != b.hash ? a.hash < b.hash : a.index < b.index;
    });
    for (auto run = entries.begin(); run != entries.end();) {
        const auto runEnd = std::find_if(
            run, entries.end(), [&](const Entry& entry) { return entry.hash != run->hash; });
        // Entries of one hash nearly always share their key; those that do
        // not are moved behind, keeping the file's order on both sides.
        for (auto group = run; group != runEnd;) {
            const auto pivot = key(*group); // views into the model, not into entries
            const auto groupEnd = std::stable_partition(
                group, runEnd, [&](const Entry& entry) { return key(entry) == pivot; });
            onGroup(group, groupEnd);
            group = groupEnd;
        }
        run = runEnd;
    }
}

} // namespace

LcovFunctionNames::LcovFunctionNames(const CoverageFile& file) {
    std::vector<Entry> entries;
    entries.reserve(file.functionMap.size());
    for (const auto& [line, function] : file.functionMap)
        entries.push_back({std::hash<std::string_view>{}(function->name),
                           static_cast<std::uint32_t>(entries.size()), function.get()});
    forms_.assign(entries.size(), Form{});

    // Functions that share their name take their parameters.
    forEachEqualGroup(
        entries, [](const Entry& entry) { return std::string_view(entry.function->name); },
        [&](auto first, auto last) {
            if (last - first > 1)
                for (auto entry = first; entry != last; ++entry)
                    forms_[entry->index].withParameters = true;
        });

    // Functions whose names are still the same: all but the first in the
    // file's order get their line, and a number where they share that too.
    const auto base = [this](const Entry& entry) {
        return BaseName(*entry.function, forms_[entry.index].withParameters);
    };
    for (Entry& entry : entries)
        entry.hash = base(entry).hash();
    forEachEqualGroup(entries, base, [&](auto group, auto end) {
        // An empty name takes its line even when it stands alone.
        const auto first = base(*group).size() == 0 ? group : group + 1;
        std::stable_sort(first, end, [](const Entry& a, const Entry& b) {
            return a.function->definedAtLine < b.function->definedAtLine;
        });
        for (auto entry = first; entry != end; ++entry) {
            const bool sameLine = entry != first && (entry - 1)->function->definedAtLine ==
                                                        entry->function->definedAtLine;
            forms_[entry->index].repeat = sameLine ? forms_[(entry - 1)->index].repeat + 1 : 1;
        }
    });
}

void LcovFunctionNames::append(std::string& out, std::size_t index,
                               const CoverageFunction& function) const {
    const Form& form = forms_[index];
    BaseName(function, form.withParameters).appendTo(out);
    if (form.repeat == 0) return;
    out.push_back('@');
    out.append(std::to_string(function.definedAtLine));
    if (form.repeat > 1) {
        out.push_back('#');
        out.append(std::to_string(form.repeat));
    }
}

} // namespace kiv
