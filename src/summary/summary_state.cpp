#include "summary/summary_state.hpp"

namespace kiv {

namespace {

const CoverageFile* currentFile = nullptr;
const CoverageFunction* currentFunction = nullptr;

} // namespace

const CoverageFile* summaryCurrentFile() {
    return currentFile;
}
const CoverageFunction* summaryCurrentFunction() {
    return currentFunction;
}

void resetSummaryState() {
    currentFile = nullptr;
    currentFunction = nullptr;
}

SummaryFileScope::SummaryFileScope(const CoverageFile& file) {
    currentFile = &file;
}
SummaryFileScope::~SummaryFileScope() {
    currentFile = nullptr;
}

SummaryFunctionScope::SummaryFunctionScope(const CoverageFunction& function) {
    currentFunction = &function;
}
SummaryFunctionScope::~SummaryFunctionScope() {
    currentFunction = nullptr;
}

} // namespace kiv
