// The reader's hot paths, one probe element at a time: reading and cutting
// lines, splitting attributes, unescaping, converting numbers, building the
// probe record.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/records.hpp"
#include "reader/attributes.hpp"
#include "reader/first_value_map.hpp"
#include "reader/line_cutting.hpp"
#include "reader/line_reader.hpp"
#include "reader/numbers.hpp"
#include "reader/probe_lines.hpp"
#include "reader/probe_record.hpp"
#include "reader/unescape.hpp"
#include "reader/usual_probe.hpp"

namespace {

// The two lines of typical probe elements, as the reports indent them.
const std::vector<std::string> kFirstLines = {
    "\t\t\t<probe type=\"if\" sc_count=\"2\" nesting=\"1\"",
    "\t\t\t<probe type=\"multi_cond_t\" eval_no=\"1\" nesting=\"1\"",
    "\t\t\t<probe type=\"return\" nesting=\"2\"",
    "\t\t\t<probe type=\"case\" nesting=\"2\"",
};
const std::vector<std::string> kSecondLines = {
    "\t\t\t line=\"7\" count1=\"1\" count2=\"2\" descr=\"if (a &gt; 0 &amp;&amp; b &gt; 0)\" />",
    "\t\t\t line=\"7\" count1=\"1\" descr=\"T &amp;&amp; T\" />",
    "\t\t\t line=\"18\" count1=\"542\" descr=\"return queue_8-&gt;count\" />",
    "\t\t\t line=\"16\" count1=\"0\" descr=\"case 0:\" />",
};

// Attribute texts as the splitter gets them: both lines joined, after the tag.
std::vector<std::string> joinedAttributes() {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < kFirstLines.size(); ++i) {
        const std::string first = kFirstLines[i].substr(kFirstLines[i].find(' ') + 1);
        const std::string second = kSecondLines[i].substr(kSecondLines[i].find('l'));
        texts.push_back(first + ' ' + second);
    }
    return texts;
}

void ReadLines(benchmark::State& state) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "kiv_bench_lines.xml";
    std::string content;
    while (content.size() < (std::size_t{8} << 20)) {
        for (std::size_t i = 0; i < kFirstLines.size(); ++i) {
            content += kFirstLines[i] + '\n';
            content += kSecondLines[i] + '\n';
        }
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);

    kiv::LineReader reader;
    for (auto _ : state) {
        reader.open(path.string());
        std::size_t lines = 0;
        while (reader.hasContent()) {
            benchmark::DoNotOptimize(reader.readLine().size());
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * content.size()));
    std::filesystem::remove(path);
}
BENCHMARK(ReadLines)->Unit(benchmark::kMillisecond);

void CutProbeLines(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (std::size_t i = 0; i < kFirstLines.size(); ++i) {
            std::string_view element;
            benchmark::DoNotOptimize(kiv::cutLine(kFirstLines[i], kiv::CutStart::Bracket, element));
            benchmark::DoNotOptimize(element.size());
            benchmark::DoNotOptimize(
                kiv::cutLine(kSecondLines[i], kiv::CutStart::LineAttribute, element));
            benchmark::DoNotOptimize(element.size());
            bytes += kFirstLines[i].size() + kSecondLines[i].size();
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kFirstLines.size()));
}
BENCHMARK(CutProbeLines);

// Through the general attribute map, as for the lines of any element.
void SplitAttributesIntoMap(benchmark::State& state) {
    const std::vector<std::string> texts = joinedAttributes();
    kiv::FirstValueMap map;
    for (auto _ : state) {
        for (const std::string& text : texts) {
            benchmark::DoNotOptimize(kiv::splitAttributes(text, map));
            map.clear();
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * texts.size()));
}
BENCHMARK(SplitAttributesIntoMap);

// The probes of function bodies, split without the map.
// The lines as the merging thread gets them: the attribute text of the
// first line (after "<probe ") and the second line without its indentation.
std::pair<std::vector<std::string>, std::vector<std::string>> usualProbeLines() {
    std::vector<std::string> firsts;
    std::vector<std::string> seconds;
    for (std::size_t i = 0; i < kFirstLines.size(); ++i) {
        firsts.push_back(kFirstLines[i].substr(kFirstLines[i].find(' ') + 1));
        seconds.push_back(kSecondLines[i].substr(kSecondLines[i].find('l')));
    }
    return {firsts, seconds};
}

void SplitProbeAttributes(benchmark::State& state) {
    const std::vector<std::string> texts = joinedAttributes();
    kiv::ProbeAttributes attributes;
    for (auto _ : state) {
        for (const std::string& text : texts)
            benchmark::DoNotOptimize(kiv::splitProbeAttributes(text, attributes));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * texts.size()));
}
BENCHMARK(SplitProbeAttributes);

// A usual probe as the merging thread gets it: the attribute text of its
// first line and its second line, read in one pass (all these probes have
// the usual form) and made into the record.
void ProbeRecordFromItsLines(benchmark::State& state) {
    const auto [firsts, seconds] = usualProbeLines();
    kiv::BodyProbeLines lines;
    kiv::ProbeRecord record;
    for (auto _ : state) {
        for (std::size_t i = 0; i < firsts.size(); ++i) {
            lines.toRecord(firsts[i], seconds[i], record);
            benchmark::DoNotOptimize(record.description.size());
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * firsts.size()));
}
BENCHMARK(ProbeRecordFromItsLines);

// The one-pass reading alone, as the reading thread does it when the
// merging thread falls behind.
void ReadUsualProbe(benchmark::State& state) {
    const auto [firsts, seconds] = usualProbeLines();
    kiv::UsualProbe probe;
    for (auto _ : state) {
        for (std::size_t i = 0; i < firsts.size(); ++i) {
            benchmark::DoNotOptimize(kiv::readUsualProbe(firsts[i], seconds[i], probe));
            benchmark::DoNotOptimize(probe.line);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * firsts.size()));
}
BENCHMARK(ReadUsualProbe);

void BuildProbeRecord(benchmark::State& state) {
    const std::vector<std::string> texts = joinedAttributes();
    std::vector<kiv::FirstValueMap> maps(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i)
        kiv::splitAttributes(texts[i], maps[i]);
    kiv::ProbeRecord record;
    for (auto _ : state) {
        for (const kiv::FirstValueMap& map : maps) {
            benchmark::DoNotOptimize(kiv::buildProbeRecord(map, record));
            benchmark::DoNotOptimize(record.description.size());
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * maps.size()));
}
BENCHMARK(BuildProbeRecord);

void Unescape(benchmark::State& state) {
    const std::vector<std::string> texts = {
        "if (a &gt; 0 &amp;&amp; b &gt; 0)", "return queue_8-&gt;count",
        "case 0:", "throw std::runtime_error(&quot;size&quot;)", "T &amp;&amp; (F || T)"};
    std::string out;
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (const std::string& text : texts) {
            kiv::unescapeInto(text, out);
            benchmark::DoNotOptimize(out.data());
            bytes += text.size();
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(Unescape);

void ConvertNumbers(benchmark::State& state) {
    const std::vector<std::string> numbers = {"7",          "542",  "0",  "3551503",
                                              "4294967295", "0x1F", "010"};
    std::uint64_t sum = 0;
    for (auto _ : state) {
        for (const std::string& number : numbers)
            sum += kiv::readUnsigned(number);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * numbers.size()));
}
BENCHMARK(ConvertNumbers);

} // namespace
