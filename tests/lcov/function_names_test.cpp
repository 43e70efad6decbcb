// The names functions are listed under in a tracefile: unique within a file
// and free of commas, which tracefile readers end a name at.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "evaluation/model_builder.hpp"
#include "lcov/function_names.hpp"

namespace kiv {
namespace {

using test::ModelBuilder;

TEST(LcovFunctionNames, SharedNamesTakeTheirParametersAndStayDistinct) {
    struct Function {
        const char* name;
        std::uint32_t line;
        const char* parameters;
    };
    struct Row {
        std::vector<Function> functions; // in line order
        std::vector<std::string> names;
    };
    const Row rows[] = {
        {{{"f", 1, "(int)"}, {"g", 2, "(int)"}}, {"f", "g"}},
        {{{"f", 1, "(int a, int b)"}, {"f", 5, "(char)"}}, {"f(int a; int b)", "f(char)"}},
        {{{"f", 1, "(int)"}, {"f", 9, "(int)"}}, {"f(int)", "f(int)@9"}},
        {{{"f", 1, "(a,b)"}, {"f", 1, "(a;b)"}}, {"f(a;b)", "f(a;b)@1"}},
        {{{"f", 1, "(int)"}, {"f", 9, "(int)"}, {"f", 9, "(int)"}, {"f", 4, "(int)"}},
         {"f(int)", "f(int)@4", "f(int)@9", "f(int)@9#2"}},
        {{{"", 3, "()"}, {"", 3, "(x)"}}, {"()", "(x)"}},
        {{{"", 3, "()"}, {"operator,", 4, "()"}}, {"@3", "operator;"}},
    };
    for (const Row& row : rows) {
        ModelBuilder model;
        CoverageFile& file = model.file("a.c");
        for (const Function& function : row.functions)
            ModelBuilder::function(file, function.name, function.line, function.parameters);
        const LcovFunctionNames names(file);
        std::vector<std::string> written;
        for (const auto& [line, function] : file.functionMap) {
            written.emplace_back();
            names.append(written.back(), written.size() - 1, *function);
        }
        EXPECT_EQ(written, row.names) << row.names.front();
    }
}

} // namespace
} // namespace kiv
