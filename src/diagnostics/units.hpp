#pragma once

namespace kiv {

// Source units: the second number of a diagnostic line names the part of the
// program that raised it.
enum class Unit : int {
    CommandLine = 1,
    Reader = 2,
    CoverageViews = 3,
    InstrumentationModes = 4,
    OutOfRange = 6,
    Output = 7,
    Internal = 8,
};

// Diagnostic codes: the index into the message table.
enum Code : int {
    kOptionAtArgument = 1,
    kOptionPArgument = 2,
    kOptionXArgument = 3,
    kOptionFArgument = 4,
    kOptionNfArgument = 5,
    kUnknownOption = 6,
    kExtensionNotAllowed = 7,
    kExtensionMissing = 8,
    kInputMissing = 9,
    kNoInput = 10,
    kOptionsFileMissing = 11,
    kNotAReport = 12,
    kEmptyInput = 13,
    kOldVersion = 14,
    kHeaderMissing = 15,
    kDifferentViews = 16,
    kDifferentModes = 17,
    kOutOfRange = 18,
    kOutOfMemory = 19,
    kInternalError = 20,
    kOutputOptionMissing = 21,
    kUnknownProbeType = 22,
    kLineTooLong = 23,
    kOutputOpen = 24,
    kOutputWrite = 25,
    kOptionLcovArgument = 26,
    kOptionCoberturaArgument = 27,
    kOptionRootArgument = 28,
    kExportOutputMissing = 29,
};

} // namespace kiv
