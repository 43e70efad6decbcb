#pragma once

namespace kiv {

class CoverageFile;
class CoverageFunction;

// The file and the function whose blocks the summary writer is writing, null
// outside those blocks. Process-wide, like the current model.
const CoverageFile* summaryCurrentFile();
const CoverageFunction* summaryCurrentFunction();

// Forgets both (a writer that stopped on an error, or a new merge in the same
// process).
void resetSummaryState();

// Names the current file while a file block is written; clears it at the end
// of the block, also when the block ends by an exception.
class SummaryFileScope {
  public:
    explicit SummaryFileScope(const CoverageFile& file);
    ~SummaryFileScope();
    SummaryFileScope(const SummaryFileScope&) = delete;
    SummaryFileScope& operator=(const SummaryFileScope&) = delete;
};

// The same for the current function of a function block.
class SummaryFunctionScope {
  public:
    explicit SummaryFunctionScope(const CoverageFunction& function);
    ~SummaryFunctionScope();
    SummaryFunctionScope(const SummaryFunctionScope&) = delete;
    SummaryFunctionScope& operator=(const SummaryFunctionScope&) = delete;
};

} // namespace kiv
