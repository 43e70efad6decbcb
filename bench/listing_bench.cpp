// One probe line of the profile listing, in each layout.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <streambuf>
#include <vector>

#include "listing/listing_output.hpp"
#include "listing/listing_state.hpp"
#include "listing/probe_line.hpp"
#include "model/coverage_file.hpp"
#include "model/probe_type.hpp"
#include "model/records.hpp"

namespace {

// Swallows everything written to it.
class NullBuffer : public std::streambuf {
  protected:
    int_type overflow(int_type c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

kiv::ProbeRecord record(std::uint8_t type, std::uint32_t line, const char* description,
                        std::uint32_t count1, std::uint32_t count2, std::uint32_t nesting) {
    kiv::ProbeRecord r;
    r.type = type;
    r.description = description;
    r.probeLine = line;
    r.sourceLine = line;
    r.counters = {count1, count2};
    r.outcomeClass = kiv::outcomeClassOf(type, true);
    r.nesting = nesting;
    return r;
}

void WriteProbeLine(benchmark::State& state) {
    kiv::CoverageFile file("c:\\src\\a.c", kiv::kSourceFile, "C:\\src\\a.c", true);
    kiv::FunctionHeader header;
    file.addFunction("f", 10, "(int a)", header);
    kiv::CoverageFunction& function = *file.findFunction("f", 10, "(int a)");
    const std::vector<kiv::ProbeRecord> records = {
        record(kiv::kIf, 12, "if (a > 0 && b > 0)", 1055, 837, 1),
        record(kiv::kMultiCondF, 12, "3: T && (F || F)", 0, 1453, 1),
        record(kiv::kReturn, 13, "return queue_8->count", 659, 0, 2),
        record(kiv::kElse, 14, "else", 0, 0, 1),
    };
    for (kiv::ProbeRecord r : records)
        function.probes.emplace(std::make_unique<kiv::CoverageProbe>(std::move(r)));

    NullBuffer sink;
    std::ostream out(&sink);
    kiv::resetListingState();
    kiv::ListingOutput listing(out);
    kiv::ListingContext context{listing, false};
    kiv::listingState().currentFile = &file;
    for (auto _ : state) {
        for (const auto& [line, probe] : function.probes)
            kiv::writeProbeLines(*probe, function, context);
    }
    listing.finish();
    kiv::resetListingState();
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * function.probes.size()));
}
BENCHMARK(WriteProbeLine);

} // namespace
