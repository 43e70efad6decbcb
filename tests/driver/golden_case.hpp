#pragma once

// End-to-end cases kept as folders: input reports, the command line and the
// expected outputs of one run of a program.
//
//   args             one argument per line (names relative to the case folder;
//                    an empty line is an empty argument)
//   expected/NAME    a file NAME the run must write, compared byte for byte
//                    ("@VERSION@" stands for the program's version text);
//                    expected/stdout is the expected standard output
//   status           the expected exit status (0 when absent)
//   diagnostic       the expected diagnostic message (the text after "): ")
//   absent           names of files the run must not create, one per line
//
// Each case runs in a copy of its folder with SOURCE_DATE_EPOCH=1700000000,
// so the time of the run reads "Tue Nov 14 22:13:20 2023".

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "driver/process_runner.hpp"

namespace kiv::test {

using Runner = ProcessResult (*)(const std::vector<std::string>& arguments, const std::string& cwd,
                                 const std::string& stdoutPath,
                                 const std::vector<std::string>& environment);

std::vector<std::string> lines(const std::string& text);

// A case file's content; empty when the case has no such file.
std::string optionalFile(const std::filesystem::path& path);

// The case folders below root, by name.
std::vector<std::string> caseFolders(const std::filesystem::path& root);

// Runs a case with `run` in a fresh copy of its folder; returns the copy.
std::string runCase(const std::filesystem::path& source, Runner run, ProcessResult& result);

// Checks a finished run of a case against its status, diagnostic, expected
// outputs and absent files.
void expectCaseOutcome(const std::filesystem::path& source, const std::string& work,
                       const ProcessResult& result);

// A case name as a test name.
std::string caseTestName(const ::testing::TestParamInfo<std::string>& info);

} // namespace kiv::test
