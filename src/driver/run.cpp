#include "driver/run.hpp"

#include <memory>
#include <new>
#include <utility>

#include "diagnostics/diagnostic_record.hpp"
#include "diagnostics/error.hpp"
#include "diagnostics/program_name.hpp"
#include "diagnostics/units.hpp"
#include "driver/command_line.hpp"
#include "driver/merge.hpp"
#include "driver/program.hpp"
#include "model/coverage.hpp"
#include "model/current_coverage.hpp"

namespace kiv {

namespace {

int report(std::ostream& err, const std::string& line) {
    err << line << '\n';
    err.flush();
    return kExitDiagnostic;
}

int reportInternal(std::ostream& err, int code, int sourceLine) {
    DiagnosticRecord& record = diagnosticRecord();
    record.setUnit(static_cast<int>(Unit::Internal));
    record.setCode(code);
    return report(err, record.compose(sourceLine));
}

// Holds a model left to the system; volatile, so that the store that keeps
// the model reachable is not dropped as never read.
Coverage* volatile leftModel = nullptr;

void leaveToTheSystem(std::unique_ptr<Coverage> coverage) {
    leftModel = coverage.release();
}

void merge(const Program& program, Settings& settings, std::ostream& out, ModelAtEnd atEnd) {
    std::unique_ptr<Coverage> coverage = readInputs(settings);
    // The model now holds what the outputs need of the arguments: the names
    // of thousands of reports are not kept twice more while they are written.
    settings.inputPositions = std::vector<std::size_t>();
    settings.arguments = std::vector<std::string>();
    coverage->finishModel();
    // The model is complete: the table that found its texts while it grew
    // (megabytes for a large model) goes before the outputs take memory.
    coverage->texts.forgetIndex();
    program.writeOutputs(*coverage, settings, out);
    if (atEnd == ModelAtEnd::LeftToTheSystem) leaveToTheSystem(std::move(coverage));
}

} // namespace

int runProgram(const Program& program, std::vector<std::string> arguments, std::ostream& out,
               std::ostream& err, ModelAtEnd atEnd) {
    setProgramName(program.name);
    diagnosticRecord().reset();
    resetCurrentCoverage();
    try {
        Settings settings;
        if (interpretCommandLine(std::move(arguments), settings, program) ==
            CommandLineOutcome::Usage) {
            program.writeUsage(out);
            return kExitUsage;
        }
        merge(program, settings, out, atEnd);
        return kExitSuccess;
    } catch (const Error& e) {
        return report(err, e.what());
    } catch (const std::bad_alloc&) {
        return reportInternal(err, kOutOfMemory, __LINE__);
    } catch (const std::exception&) {
        return reportInternal(err, kInternalError, __LINE__);
    } catch (...) {
        return reportInternal(err, kInternalError, __LINE__);
    }
}

} // namespace kiv
