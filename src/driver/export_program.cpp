#include <array>
#include <atomic>
#include <exception>
#include <future>
#include <system_error>
#include <thread>

#include "cobertura/cobertura_writer.hpp"
#include "diagnostics/diagnostic_record.hpp"
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
    const std::vector<ExportRecord> records = exportRecords(coverage);
    const std::string_view source =
        settings.root.empty() ? std::string_view(".") : std::string_view(settings.root);
    const CoberturaRun run{versionText(), source, runInstant()};
    const auto lcov = [&](std::ostream& stream) { writeLcov(records, names, stream); };
    const auto cobertura = [&](std::ostream& stream) {
        writeCobertura(records, names, run, stream);
    };
    const bool both = !settings.lcovName.empty() && !settings.coberturaName.empty();

    // Both outputs to two files: the Cobertura XML is written on a thread of
    // its own while this one writes the tracefile (the model is only read
    // now, and the merging thread is done). The classes of the Cobertura XML
    // are folded first, by this thread while the other opens its file
    // (which takes the system tens of milliseconds when it cuts a large
    // earlier output short), by both once it is open. A failure of the
    // tracefile is told first, as when they are written one after the other.
    if (both && separateFiles(settings.lcovName, settings.coberturaName)) {
        DiagnosticRecord coberturaRecord;
        std::exception_ptr coberturaFailure;
        CoberturaPlan plan = layoutCobertura(records, names);
        std::atomic<std::size_t> nextClass = 0;
        std::promise<void> folded; // this thread's share of the folds
        std::future<void> foldedHere = folded.get_future();
        std::thread writer;
        try {
            writer = std::thread([&] {
                try {
                    writeOutput(
                        settings.coberturaName, out,
                        [&](std::ostream& stream) {
                            foldCoberturaClasses(plan, nextClass);
                            foldedHere.get();
                            completeCoberturaPlan(plan);
                            writeCobertura(plan, run, stream);
                        },
                        coberturaRecord);
                } catch (...) {
                    coberturaFailure = std::current_exception();
                }
            });
        } catch (const std::system_error&) {
            // No thread to be had: one after the other, below.
        }
        if (writer.joinable()) {
            // This thread's failure: of its folds, or else of the tracefile.
            std::exception_ptr failure;
            try {
                foldCoberturaClasses(plan, nextClass);
                folded.set_value();
            } catch (...) {
                failure = std::current_exception();
                folded.set_exception(failure);
            }
            if (!failure) {
                try {
                    writeOutput(settings.lcovName, out, lcov);
                } catch (...) {
                    failure = std::current_exception();
                }
            }
            writer.join();
            if (failure) std::rethrow_exception(failure);
            if (coberturaFailure) std::rethrow_exception(coberturaFailure);
            return;
        }
    }
    // Otherwise the tracefile is complete and closed before the Cobertura
    // file is opened, so both naming one file leaves the Cobertura XML in it.
    if (!settings.lcovName.empty()) writeOutput(settings.lcovName, out, lcov);
    if (!settings.coberturaName.empty()) writeOutput(settings.coberturaName, out, cobertura);
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
