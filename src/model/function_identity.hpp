#pragma once

// Identity index of a file's functions. Internal to the model library.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "model/coverage_file.hpp"

namespace kiv {

// Name, defined_at_line and parameters; the views point into the indexed
// function's own strings, or into the caller's for a lookup.
struct FunctionIdentity {
    std::string_view name;
    std::uint32_t line = 0;
    std::string_view parameters;

    bool operator==(const FunctionIdentity&) const = default;
};

struct FunctionIdentityHash {
    std::size_t operator()(const FunctionIdentity& identity) const;
};

struct CoverageFile::Index {
    // Indexes a function just inserted, unless an earlier one has its identity.
    void add(CoverageFunction& function);
    // Starts over from the function map as it is.
    void rebuild(const FunctionMap& functions);

    std::unordered_map<FunctionIdentity, CoverageFunction*, FunctionIdentityHash> byIdentity;
    std::size_t indexed = 0;               // size of the function map the index describes
    CoverageFunction* lastFound = nullptr; // probes of one function come in a row
};

} // namespace kiv
