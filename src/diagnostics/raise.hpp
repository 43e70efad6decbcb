#pragma once

#include <string_view>

#include "diagnostics/units.hpp"

namespace kiv {

// Raises a diagnostic: fills the process-wide record, composes the line and
// throws it as kiv::Error. The source line defaults to the caller's line.
[[noreturn]] void raise(Unit unit, int code, int sourceLine = __builtin_LINE());
[[noreturn]] void raise(Unit unit, int code, std::string_view argument,
                        int sourceLine = __builtin_LINE());

class DiagnosticRecord;

// The same with a record of the caller's own: a thread other than the main
// one composes its diagnostic there, and the main thread reports it.
[[noreturn]] void raiseWith(DiagnosticRecord& record, Unit unit, int code,
                            int sourceLine = __builtin_LINE());
[[noreturn]] void raiseWith(DiagnosticRecord& record, Unit unit, int code,
                            std::string_view argument, int sourceLine = __builtin_LINE());

// Runs `body`; an std::out_of_range escaping from it becomes code 18 (unit 6)
// carrying the exception's own message.
template <typename Body> decltype(auto) guardRange(Body&& body, int sourceLine = __builtin_LINE());

[[noreturn]] void raiseOutOfRange(const char* what, int sourceLine);

} // namespace kiv

#include <stdexcept>

namespace kiv {

template <typename Body> decltype(auto) guardRange(Body&& body, int sourceLine) {
    try {
        return body();
    } catch (const std::out_of_range& e) {
        raiseOutOfRange(e.what(), sourceLine);
    }
}

} // namespace kiv
