#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "model/coverage_file.hpp"
#include "model/probe_type.hpp"
#include "model/records.hpp"

namespace {

using kiv::CoverageFile;
using kiv::FunctionHeader;
using kiv::ProbeRecord;

ProbeRecord probe(std::uint8_t type, std::uint32_t line, std::string description,
                  std::uint32_t count) {
    ProbeRecord r;
    r.type = type;
    r.description = std::move(description);
    r.typeName = "probe";
    r.probeLine = line;
    r.sourceLine = line;
    r.counters = {count, 0};
    r.outcomeClass = kiv::outcomeClassOf(type, true);
    return r;
}

FunctionHeader header(std::uint32_t calls) {
    FunctionHeader h;
    h.callCount = calls;
    return h;
}

// One report's worth of a file with `functions` functions of a few probes each.
void readManyFunctions(CoverageFile& file, std::uint32_t functions) {
    const std::string parameters = "(int a, const char* b)";
    for (std::uint32_t i = 0; i < functions; ++i) {
        const std::string name = "function_" + std::to_string(i);
        const std::uint32_t line = 10 * i + 1;
        file.addFunction(name, line, parameters, header(1));
        file.addProbe(name, line, parameters, probe(kiv::kFunction, line, name + "()", 1));
        file.addProbe(name, line, parameters, probe(kiv::kIf, line + 1, "if (a > 0)", 1));
        file.addProbe(name, line, parameters, probe(kiv::kReturn, line + 2, "return a", 1));
        file.addProbe(name, line, parameters, probe(kiv::kFunctionEnd, line + 3, "}", 1));
    }
}

void MergeFileOfManyFunctions(benchmark::State& state) {
    const auto functions = static_cast<std::uint32_t>(state.range(0));
    for (auto _ : state) {
        CoverageFile file("c:\\src\\big.c", kiv::kSourceFile, "C:\\src\\big.c", true);
        readManyFunctions(file, functions);
        readManyFunctions(file, functions);
        benchmark::DoNotOptimize(file.functionMap.size());
    }
    state.SetItemsProcessed(state.iterations() * functions * 2);
}
BENCHMARK(MergeFileOfManyFunctions)
    ->Arg(12500)
    ->Arg(25000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond);

// One occurrence of a function with `probes` probes on lines of their own.
void readLongFunction(CoverageFile& file, std::uint32_t probes) {
    file.addProbe("f", 1, "()", probe(kiv::kFunction, 1, "f()", 1));
    for (std::uint32_t i = 0; i < probes; ++i) {
        const std::uint32_t line = i + 2;
        const std::uint8_t type = i % 3 == 0 ? kiv::kIf : kiv::kReturn;
        file.addProbe("f", 1, "()", probe(type, line, "statement " + std::to_string(i), 1));
    }
}

void MergeFunctionOfManyProbes(benchmark::State& state) {
    const auto probes = static_cast<std::uint32_t>(state.range(0));
    for (auto _ : state) {
        CoverageFile file("c:\\src\\long.c", kiv::kSourceFile, "C:\\src\\long.c", true);
        file.addFunction("f", 1, "()", header(1));
        readLongFunction(file, probes);
        file.addFunction("f", 1, "()", header(1));
        readLongFunction(file, probes);
        benchmark::DoNotOptimize(file.functionMap.begin()->second->statementAvailable);
    }
    state.SetItemsProcessed(state.iterations() * probes * 2);
}
BENCHMARK(MergeFunctionOfManyProbes)
    ->Arg(12500)
    ->Arg(25000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond);

// Equal probes on one line: every later one has all of them as candidates.
void readEqualProbesOnOneLine(CoverageFile& file, std::uint32_t probes) {
    file.addProbe("f", 1, "()", probe(kiv::kFunction, 1, "f()", 1));
    for (std::uint32_t i = 0; i < probes; ++i)
        file.addProbe("f", 1, "()", probe(kiv::kUserCounter, 2, "count()", 1));
}

void MergeEqualProbesOnOneLine(benchmark::State& state) {
    const auto probes = static_cast<std::uint32_t>(state.range(0));
    for (auto _ : state) {
        CoverageFile file("c:\\src\\macro.c", kiv::kSourceFile, "C:\\src\\macro.c", true);
        for (int occurrence = 0; occurrence < 3; ++occurrence) {
            file.addFunction("f", 1, "()", header(1));
            readEqualProbesOnOneLine(file, probes);
        }
        benchmark::DoNotOptimize(file.functionMap.begin()->second->probes.size());
    }
    state.SetItemsProcessed(state.iterations() * probes * 3);
}
BENCHMARK(MergeEqualProbesOnOneLine)
    ->Arg(2500)
    ->Arg(5000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);

// A further occurrence of one function of 100 probes: the cost of merging a
// function that every report holds.
void MergeOneFunction(benchmark::State& state) {
    CoverageFile file("c:\\src\\one.c", kiv::kSourceFile, "C:\\src\\one.c", true);
    const auto occurrence = [&file] {
        file.addFunction("f", 1, "(int a)", header(1));
        file.addProbe("f", 1, "(int a)", probe(kiv::kFunction, 1, "f()", 1));
        for (std::uint32_t i = 0; i < 99; ++i) {
            const std::uint32_t line = 2 + i / 3;
            const std::uint8_t type = i % 3 == 0   ? kiv::kIf
                                      : i % 3 == 1 ? kiv::kReturn
                                                   : kiv::kCase;
            file.addProbe("f", 1, "(int a)",
                          probe(type, line, "statement " + std::to_string(i % 3), 1));
        }
    };
    occurrence();
    for (auto _ : state)
        occurrence();
    benchmark::DoNotOptimize(file.functionMap.begin()->second->statementAvailable);
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(MergeOneFunction);

} // namespace
