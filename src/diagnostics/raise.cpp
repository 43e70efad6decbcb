#include "diagnostics/raise.hpp"

#include "diagnostics/diagnostic_record.hpp"
#include "diagnostics/error.hpp"

namespace kiv {

void raise(Unit unit, int code, int sourceLine) {
    raiseWith(diagnosticRecord(), unit, code, sourceLine);
}

void raise(Unit unit, int code, std::string_view argument, int sourceLine) {
    raiseWith(diagnosticRecord(), unit, code, argument, sourceLine);
}

void raiseWith(DiagnosticRecord& record, Unit unit, int code, int sourceLine) {
    record.setUnit(static_cast<int>(unit));
    record.setCode(code);
    throw Error(record.compose(sourceLine));
}

void raiseWith(DiagnosticRecord& record, Unit unit, int code, std::string_view argument,
               int sourceLine) {
    record.setUnit(static_cast<int>(unit));
    record.setCode(code);
    record.addArgument(argument);
    throw Error(record.compose(sourceLine));
}

void raiseOutOfRange(const char* what, int sourceLine) {
    DiagnosticRecord& record = diagnosticRecord();
    record.setUnit(static_cast<int>(Unit::OutOfRange));
    record.setCode(kOutOfRange);
    record.addArgument(what);
    throw Error(record.compose(sourceLine));
}

} // namespace kiv
