#pragma once

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "listing/listing_writer.hpp"
#include "model/coverage.hpp"
#include "model/current_coverage.hpp"
#include "model/probe_type.hpp"
#include "support/hand_model.hpp"

namespace kiv::test {

// A model built by hand, holding the values the evaluation would leave.
class ListingModel {
  public:
    ListingModel()
        : coverage_(std::make_unique<Coverage>(
              "1.0.0.0", std::vector<std::string>{}, std::vector<std::string>{},
              std::vector<std::string>{},
              std::vector<std::string>{"Copyright (c) A", "Copyright (c) B"})) {}
    ~ListingModel() {
        coverage_.reset();
        resetCurrentCoverage();
    }

    Coverage& coverage() { return *coverage_; }

    CoverageFile& file(const std::string& key, int type, const std::string& name,
                       bool chosen = true) {
        return coverage_->findOrCreateFile(key, type, name, chosen);
    }

    static CoverageFunction& function(CoverageFile& file, const std::string& name,
                                      std::uint32_t line, const std::string& parameters = "()") {
        return insertFunction(file, name, line, parameters);
    }

    // A probe whose outcomes are given; line is both its probe line and its
    // largest source line.
    static CoverageProbe& probe(CoverageFunction& function, std::uint8_t type, std::uint32_t line,
                                const std::string& description, std::uint32_t first = 0,
                                std::uint32_t second = 0, std::uint32_t nesting = 0,
                                std::uint32_t possible = 0, std::uint32_t covered = 0) {
        ProbeRecord record;
        record.type = type;
        record.description = description;
        record.probeLine = line;
        record.sourceLine = line;
        record.counters = {first, second};
        record.outcomeClass = outcomeClassOf(type, true);
        record.nesting = nesting;
        CoverageProbe& result = insertProbe(function, std::move(record));
        result.possible = possible;
        result.covered = covered;
        return result;
    }

  private:
    std::unique_ptr<Coverage> coverage_;
};

inline std::string listingOf(const Coverage& coverage) {
    std::ostringstream out;
    writeListing(coverage, out);
    return out.str();
}

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The lines of the first file block between the column header's "=====" line
// (and the empty line after it) and the next empty line.
inline std::vector<std::string> firstBlockBody(const std::string& listing) {
    const std::vector<std::string> lines = linesOf(listing);
    std::vector<std::string> body;
    std::size_t i = 0;
    while (i < lines.size() && lines[i].rfind("=====", 0) != 0)
        ++i;
    for (i += 2; i < lines.size() && !lines[i].empty(); ++i)
        body.push_back(lines[i]);
    return body;
}

} // namespace kiv::test
