#include "support/model_dump.hpp"

#include <cstdint>
#include <sstream>
#include <string_view>
#include <vector>

#include "model/coverage.hpp"
#include "model/coverage_file.hpp"
#include "model/coverage_function.hpp"
#include "model/coverage_probe.hpp"
#include "model/distinct_list.hpp"
#include "model/run_list.hpp"

namespace kiv {

namespace {

class Dumper {
  public:
    std::string take() { return out_.str(); }

    void coverage(const Coverage& c) {
        strings("versions", c.kivpostVersions);
        strings("inputs", c.inputReports);
        strings("requested views", c.requestedCoverageViews);
        strings("cost functions", c.executionCostFunctions);
        strings("cost types", c.executionCostTypes);
        numbers("cost scalings", c.executionCostScalings);
        strings("notices", c.notices);
        strings("shown views", c.shownCoverageViewsInputs);
        numbers("overall lines", c.overallLines);
        numbers("measurement points", c.measurementPoints);
        out_ << "counted: files=" << c.files << " headers=" << c.headers
             << " chosen=" << c.chosenFiles << " others=" << c.chosenOthers << '\n';
        for (const auto& [key, file] : c.fileMap)
            this->file(key, *file);
    }

  private:
    void file(const std::string& mapKey, const CoverageFile& f) {
        out_ << "file " << mapKey << '\n';
        if (f.key != mapKey) out_ << "  key mismatch: " << f.key << '\n';
        out_ << "  type=" << f.type << " file_type=" << f.fileType << " display=" << f.displayName
             << " chosen=" << (f.chosen ? "yes" : "no") << '\n';
        distinct("  modes", f.instrumentationModes);
        distinct("  includes", f.includes);
        distinct("  file includers", f.fileIncluders);
        distinct("  function includers", f.functionIncluders);
        distinct("  included headers", f.includedHeaders);
        distinct("  header parts", f.headerParts);
        runs("  line counts", f.lineCounts);
        for (const auto& [line, function] : f.functionMap)
            this->function(line, *function);
    }

    void function(std::uint32_t mapLine, const CoverageFunction& fn) {
        out_ << "  function " << fn.name << fn.parameters << " line=" << fn.definedAtLine;
        if (mapLine != fn.definedAtLine) out_ << " (stored under " << mapLine << ')';
        out_ << '\n';
        out_ << "    calls=" << fn.callCount << " total=" << fn.totalExecutionCost
             << " max=" << fn.maxExecutionCost << " occurrences=" << fn.occurrences
             << " statement_available=" << fn.statementAvailable << '\n';
        runs("    directive probe lines", fn.directiveProbeLines);
        runs("    directive numbers", fn.directiveNumbers);
        distinct("    header parts", fn.headerParts);
        const FunctionHeader& h = fn.firstHeader;
        out_ << "    first header: file=" << fileName(h.file) << " name=" << h.name
             << " line=" << h.definedAtLine << " params=" << h.parameters << '\n';
        for (const auto& [line, probe] : fn.probes)
            this->probe(line, *probe);
    }

    void probe(std::uint32_t mapLine, const CoverageProbe& p) {
        out_ << "    probe " << p.line << ' ' << p.typeName() << " \"" << p.description << '"';
        if (mapLine != p.line) out_ << " (stored under " << mapLine << ')';
        out_ << '\n';
        out_ << "      type=" << static_cast<unsigned>(p.type) << " seq=" << p.sequence()
             << " counters=" << p.counters[0] << ',' << p.counters[1]
             << " class=" << static_cast<unsigned>(p.outcomeClass) << " nesting=" << p.nesting
             << " merges=" << p.mergeCount << " outcomes=" << static_cast<unsigned>(p.covered)
             << '/' << static_cast<unsigned>(p.possible) << '\n';
        if (!p.context.empty()) out_ << "      context=\"" << p.context << "\"\n";
        runs("      source lines", p.sourceLines());
        runs("      directive lines", p.directiveLines());
        runs("      sc_counts", p.scCounts());
        if (p.owner() != nullptr) out_ << "      owner=" << fileName(p.owner()) << '\n';
    }

    static std::string fileName(const CoverageFile* file) {
        return file == nullptr ? std::string("-") : file->key;
    }

    void strings(std::string_view title, const std::vector<std::string>& items) {
        out_ << title << ':';
        for (const std::string& item : items)
            out_ << " [" << item << ']';
        out_ << '\n';
    }
    template <typename List> void strings(std::string_view title, const List& items) {
        out_ << title << ':';
        items.forEach([this](std::string_view item) { out_ << " [" << item << ']'; });
        out_ << '\n';
    }
    void numbers(std::string_view title, const std::vector<std::uint32_t>& items) {
        out_ << title << ':';
        for (std::uint32_t item : items)
            out_ << ' ' << item;
        out_ << '\n';
    }
    // Empty lists are left out, so that a file or function shows only what
    // it has.
    void distinct(std::string_view title, const DistinctList& items) {
        if (items.empty()) return;
        out_ << title << ':';
        for (const std::string& item : items)
            out_ << " [" << item << ']';
        out_ << '\n';
    }
    void runs(std::string_view title, const RunList& items) {
        out_ << title << ':';
        items.forEach([this](std::uint32_t value) { out_ << ' ' << value; });
        out_ << '\n';
    }

    std::ostringstream out_;
};

} // namespace

std::string dumpModel(const Coverage& coverage) {
    Dumper dumper;
    dumper.coverage(coverage);
    return dumper.take();
}

} // namespace kiv
