#pragma once

#include <memory>
#include <string>
#include <vector>

#include "diagnostics/error.hpp"
#include "model/coverage.hpp"
#include "model/current_coverage.hpp"
#include "model/probe_type.hpp"
#include "support/hand_model.hpp"

namespace kiv::test {

// Builds a model by hand, the way the reader and the merging code would
// leave it after the last input, so that finishModel can be checked alone.
class ModelBuilder {
  public:
    explicit ModelBuilder(std::vector<std::string> requestedViews = {"As instrumented"},
                          std::vector<std::string> shownViews = {"multiCondition"}) {
        resetCurrentCoverage();
        coverage = std::make_unique<Coverage>(
            "1.0.0.0", std::vector<std::string>{"in.xml"}, std::vector<std::string>{},
            std::vector<std::string>{}, std::vector<std::string>{"c1", "c2"});
        for (const std::string& view : requestedViews)
            coverage->requestedCoverageViews.push_back(view);
        for (const std::string& view : shownViews)
            coverage->shownCoverageViewsInputs.push_back(view);
    }

    CoverageFile& file(const std::string& key, int type = kSourceFile, bool chosen = true,
                       const std::string& mode = "multicondition") {
        CoverageFile& created = coverage->findOrCreateFile(key, type, "D:" + key, chosen);
        if (!mode.empty()) created.addInstrumentationMode(mode);
        return created;
    }

    static CoverageFunction& function(CoverageFile& file, const std::string& name,
                                      std::uint32_t line, const std::string& parameters = "()") {
        return insertFunction(file, name, line, parameters);
    }

    // The pseudo function of a header part, naming the real function it came from.
    static CoverageFunction& pseudoFunction(CoverageFile& part, CoverageFile& owner,
                                            const std::string& name, std::uint32_t line,
                                            const std::string& parameters = "()") {
        return insertFunction(part, owner, name, line, parameters, "N.A.", 0, "( )");
    }

    static CoverageProbe& probe(CoverageFunction& function, std::uint8_t type, std::uint32_t line,
                                std::uint32_t count1 = 0, std::uint32_t count2 = 0,
                                const std::string& description = "d",
                                const std::string& context = "") {
        ProbeRecord record;
        record.type = type;
        record.description = description;
        record.probeLine = line;
        record.sourceLine = line;
        record.counters = {count1, count2};
        record.outcomeClass = outcomeClassOf(type, true);
        record.context = context;
        return insertProbe(function, std::move(record));
    }

    // finishModel's diagnostic line, or "" when it completed.
    std::string finish() {
        try {
            coverage->finishModel();
        } catch (const Error& e) {
            return e.what();
        }
        return {};
    }

    std::unique_ptr<Coverage> coverage;
};

} // namespace kiv::test
