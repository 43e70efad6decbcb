#include "lcov/lcov_writer.hpp"

#include <algorithm>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_records.hpp"
#include "export/line_fold.hpp"
#include "export/written_names.hpp"
#include "lcov/function_names.hpp"
#include "listing/listing_output.hpp"
#include "model/coverage_file.hpp"

namespace kiv {

namespace {

void writeCount(ListingOutput& out, std::string_view tag, std::uint64_t value) {
    std::string& text = out.text();
    text.append(tag);
    appendNumber(text, value);
    out.endLine();
}

void writeFunctions(const CoverageFile* file, ListingOutput& out) {
    std::uint64_t found = 0;
    std::uint64_t hit = 0;
    if (file != nullptr) {
        const LcovFunctionNames names(*file);
        std::size_t index = 0;
        for (const auto& [line, function] : file->functionMap) {
            std::string& text = out.text();
            text.append("FN:");
            appendNumber(text, function->definedAtLine);
            text.push_back(',');
            names.append(text, index++, *function);
            out.endLine();
        }
        index = 0;
        for (const auto& [line, function] : file->functionMap) {
            std::string& text = out.text();
            text.append("FNDA:");
            appendNumber(text, function->callCount);
            text.push_back(',');
            names.append(text, index++, *function);
            out.endLine();
            ++found;
            if (function->callCount != 0) ++hit;
        }
    }
    writeCount(out, "FNF:", found);
    writeCount(out, "FNH:", hit);
}

ExportTotals writeBranches(std::span<const CoverageFunction* const> functions, LineFold& fold,
                           ListingOutput& out) {
    LineBatch batch(out);
    const ExportTotals totals =
        fold.fold(functions, [&](const ExportLine& line, std::span<const std::uint64_t> branches) {
            // A line none of whose branches was taken shows "-" for each.
            const bool anyTaken = std::any_of(branches.begin(), branches.end(),
                                              [](std::uint64_t taken) { return taken != 0; });
            for (std::size_t branch = 0; branch < branches.size(); ++branch) {
                batch.text("BRDA:").number(line.number).text(",0,").number(branch).character(',');
                if (anyTaken) {
                    batch.number(branches[branch]).endLine();
                } else {
                    batch.character('-').endLine();
                }
            }
        });
    batch.flush();
    writeCount(out, "BRF:", totals.branchesValid);
    writeCount(out, "BRH:", totals.branchesCovered);
    return totals;
}

void writeLines(std::span<const CoverageFunction* const> functions, const ExportTotals& totals,
                LineFold& fold, ListingOutput& out) {
    LineBatch batch(out);
    fold.fold(functions, [&](const ExportLine& line, std::span<const std::uint64_t>) {
        batch.text("DA:").number(line.number).character(',').number(line.hits).endLine();
    });
    batch.flush();
    writeCount(out, "LF:", totals.linesValid);
    writeCount(out, "LH:", totals.linesCovered);
}

} // namespace

void writeLcov(const std::vector<ExportRecord>& records, const WrittenNames& names,
               std::ostream& stream) {
    ListingOutput out(stream, kExportBlockSize);
    LineFold fold;
    std::vector<const CoverageFunction*> functions;
    for (const ExportRecord& record : records) {
        out.line("TN:");
        std::string& text = out.text();
        text.append("SF:");
        names.append(text, record.displayName);
        out.endLine();
        writeFunctions(record.file, out);
        // Branches come before lines: the record's probes are folded twice
        // rather than held.
        recordFunctions(record, functions);
        const ExportTotals totals = writeBranches(functions, fold, out);
        writeLines(functions, totals, fold, out);
        out.line("end_of_record");
    }
    out.finish();
}

} // namespace kiv
