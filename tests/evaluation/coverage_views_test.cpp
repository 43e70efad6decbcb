#include <gtest/gtest.h>

#include <string>

#include "diagnostics/diagnostic_record.hpp"
#include "diagnostics/error.hpp"
#include "evaluation/coverage_views.hpp"

namespace kiv {
namespace {

const char* const kViewError = "Different coverage view inputs can not be merged.";

struct RequestedCase {
    TextRuns inputs;
    const char* view; // nullptr: the inputs cannot be merged
};

TEST(RequestedView, OneNameAcrossAllInputs) {
    const RequestedCase cases[] = {
        {{"As instrumented", "As instrumented"}, "As instrumented"},
        {{"Reduced to decision coverage", "Reduced to MC/DC coverage"}, nullptr},
        {{"  Reduced to MC/DC coverage (generated)"}, "Reduced to MC/DC coverage"},
        // Within one input only the first name counts.
        {{"As instrumented, Reduced to MC/DC coverage"}, "As instrumented"},
        // A later input's first new name is taken even behind a listed one.
        {{"As instrumented", "As instrumented, Reduced to MC/DC coverage"}, nullptr},
        {{"As instrumented", "Reduced to function coverage As instrumented"}, nullptr},
        {{"unknown view", "Reduced to function coverage"}, "Reduced to function coverage"},
        {{"Reduced to condition coverage", "x", "Reduced to condition coverage"},
         "Reduced to condition coverage"},
        {{"as instrumented"}, nullptr},
        {{"nothing known"}, nullptr},
        {{}, nullptr},
    };
    for (const RequestedCase& c : cases) {
        SCOPED_TRACE(c.inputs.empty() ? std::string("(none)") : std::string(c.inputs.first()));
        if (c.view != nullptr) {
            EXPECT_EQ(resolveRequestedView(c.inputs), c.view);
            continue;
        }
        try {
            resolveRequestedView(c.inputs);
            ADD_FAILURE() << "merged views that differ";
        } catch (const Error& e) {
            const std::string line = e.what();
            EXPECT_EQ(line.rfind("*** kivxmlmerge error 16 (3/", 0), 0U) << line;
            EXPECT_NE(line.find(std::string("): ") + kViewError), std::string::npos) << line;
            EXPECT_EQ(diagnosticRecord().code(), 16);
            EXPECT_EQ(diagnosticRecord().unit(), 3);
        }
    }
}

TEST(ShownViews, CombinedIntoOneText) {
    const std::pair<TextRuns, const char*> cases[] = {
        {{"multiCondition", "condition"}, "multicondition"},
        {{"condition", "multiCondition"}, "mixed condition/multicondition"},
        {{"function", "decision"}, "mixed function/decision"},
        {{"decision and function"}, "mixed function/decision"},
        {{"function", "function"}, "function"},
        {{"MC/DC"}, "MC/DC"},
        {{"multicondition"}, "condition"}, // lower case: only "condition" is found
        {{"Function", "mc/dc"}, ""},
        {{}, ""},
        {{"decision", "nothing", "MC/DC multiCondition"}, "mixed decision/MC/DC/multicondition"},
    };
    for (const auto& [inputs, text] : cases)
        EXPECT_EQ(combineShownViews(inputs), text);
}

} // namespace
} // namespace kiv
