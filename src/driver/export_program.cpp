#include <array>

#include "cobertura/cobertura_writer.hpp"
#include "diagnostics/units.hpp"
#include "driver/export_usage.hpp"
#include "driver/output.hpp"
#include "driver/program.hpp"
#include "driver/run.hpp"
#include "driver/version.hpp"
#include "evaluation/run_time.hpp"
#include "export/export_records.hpp"
#include "export/written_names.hpp"
#include "lcov/lcov_writer.hpp"

namespace kiv {

namespace {

constexpr std::array<ValueOption, 3> kOptions = {{
    {"-lcov", kOptionLcovArgument, &Settings::lcovName, true},
    {"-cobertura", kOptionCoberturaArgument, &Settings::coberturaName, true},
    {"-root", kOptionRootArgument, &Settings::root, false},
}};

void writeOutputs(const Coverage& coverage, const Settings& settings, std::ostream& out) {
    const WrittenNames names(settings.root, settings.noDriveLetter);
    std::vector<ExportRecord> records = exportRecords(coverage);
    // The tracefile is complete and closed before the Cobertura file is
    // opened, so both naming one file leaves the Cobertura XML in it.
    if (!settings.lcovName.empty())
        writeOutput(settings.lcovName, out,
                    [&](std::ostream& stream) { writeLcov(records, names, stream); });
    if (!settings.coberturaName.empty()) {
        const std::string_view source =
            settings.root.empty() ? std::string_view(".") : std::string_view(settings.root);
        const CoberturaRun run{versionText(), source, runInstant()};
        writeOutput(settings.coberturaName, out,
                    [&](std::ostream& stream) { writeCobertura(records, names, run, stream); });
    }
}

} // namespace

const Program& exportProgram() {
    static constexpr Program program{"kivxmlexport", kOptions, kExportOutputMissing,
                                     writeExportUsage, writeOutputs};
    return program;
}

int runExport(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
              ModelAtEnd atEnd) {
    return runProgram(exportProgram(), arguments, out, err, atEnd);
}

} // namespace kiv
