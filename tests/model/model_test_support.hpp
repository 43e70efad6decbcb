#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/coverage_file.hpp"
#include "model/probe_type.hpp"
#include "model/records.hpp"

namespace kiv::test {

// A probe as a report would announce it.
struct P {
    std::uint8_t type = kReturn;
    std::uint32_t line = 0;
    std::string descr;
    std::uint32_t c1 = 0;
    std::uint32_t c2 = 0;
    std::uint32_t sc = 0;
    std::uint32_t nesting = 0;
    std::uint32_t seq = 0;
    CoverageFile* owner = nullptr;
    bool hasCount1 = true;
};

inline ProbeRecord record(const P& p) {
    ProbeRecord r;
    r.type = p.type;
    r.description = p.descr;
    r.typeName = "probe";
    r.probeLine = p.line;
    r.sourceLine = p.line;
    r.directiveLine = 0;
    r.sequence = p.seq;
    r.counters = {p.c1, p.c2};
    r.outcomeClass = outcomeClassOf(p.type, p.hasCount1);
    r.nesting = p.nesting;
    r.scCount = p.sc;
    r.owner = p.owner;
    return r;
}

inline FunctionHeader header(std::uint32_t calls = 0, std::int32_t total = 0, std::int32_t max = 0,
                             std::uint32_t directiveLine = 0, std::uint32_t directiveNumber = 0) {
    FunctionHeader h;
    h.callCount = calls;
    h.totalExecutionCost = total;
    h.maxExecutionCost = max;
    h.directiveProbeLine = directiveLine;
    h.directiveNumber = directiveNumber;
    return h;
}

// A source file holding one function f(int) defined at line 1.
class OneFunction {
  public:
    OneFunction() { file.addFunction("f", 1, "(int)", header()); }

    CoverageFunction& fn() { return *file.findFunction("f", 1, "(int)"); }
    void add(const P& p) { file.addProbe("f", 1, "(int)", record(p)); }
    // One occurrence of the function: its function probe, then the others.
    void occurrence(const std::vector<P>& body) {
        add(P{.type = kFunction, .line = 1, .descr = "f()", .c1 = 1});
        for (const P& p : body)
            add(p);
    }
    // The probes stored under line, in map order.
    std::vector<const CoverageProbe*> at(std::uint32_t line) {
        std::vector<const CoverageProbe*> found;
        auto [from, to] = fn().probes.equal_range(line);
        for (auto it = from; it != to; ++it)
            found.push_back(it->probe.get());
        return found;
    }
    bool available() { return fn().statementAvailable == "yes"; }

    CoverageFile file{"c:\\src\\a.c", kSourceFile, "C:\\src\\a.c", true};
};

} // namespace kiv::test
