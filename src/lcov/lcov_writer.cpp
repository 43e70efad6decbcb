#include "lcov/lcov_writer.hpp"

#include <string>
#include <string_view>
#include <vector>

#include "export/export_records.hpp"
#include "export/line_fold.hpp"
#include "export/written_names.hpp"
#include "lcov/function_names.hpp"
#include "listing/listing_output.hpp"
#include "model/coverage.hpp"

namespace kiv {

namespace {

void writeCount(ListingOutput& out, std::string_view tag, std::uint64_t value) {
    std::string& text = out.text();
    text.append(tag);
    appendNumber(text, value);
    out.endLine();
}

void writeFunctions(const CoverageFile& file, ListingOutput& out) {
    const std::vector<std::string> names = lcovFunctionNames(file);
    std::size_t index = 0;
    for (const auto& [line, function] : file.functionMap) {
        std::string& text = out.text();
        text.append("FN:");
        appendNumber(text, function->definedAtLine);
        text.push_back(',');
        text.append(names[index++]);
        out.endLine();
    }
    index = 0;
    std::uint64_t hit = 0;
    for (const auto& [line, function] : file.functionMap) {
        std::string& text = out.text();
        text.append("FNDA:");
        appendNumber(text, function->callCount);
        text.push_back(',');
        text.append(names[index++]);
        out.endLine();
        if (function->callCount != 0) ++hit;
    }
    writeCount(out, "FNF:", file.functionMap.size());
    writeCount(out, "FNH:", hit);
}

void writeBranches(const LineFold& fold, ListingOutput& out) {
    const auto branches = fold.branches();
    for (const ExportLine& line : fold.lines()) {
        const auto taken = branches.subspan(line.firstBranch, line.branchCount);
        // A line none of whose branches was taken shows "-" for each.
        bool anyTaken = false;
        for (const std::uint64_t count : taken)
            anyTaken = anyTaken || count != 0;
        for (std::uint32_t branch = 0; branch < line.branchCount; ++branch) {
            std::string& text = out.text();
            text.append("BRDA:");
            appendNumber(text, line.number);
            text.append(",0,");
            appendNumber(text, branch);
            text.push_back(',');
            if (anyTaken) {
                appendNumber(text, taken[branch]);
            } else {
                text.push_back('-');
            }
            out.endLine();
        }
    }
    writeCount(out, "BRF:", fold.totals().branchesValid);
    writeCount(out, "BRH:", fold.totals().branchesCovered);
}

void writeLines(const LineFold& fold, ListingOutput& out) {
    for (const ExportLine& line : fold.lines()) {
        std::string& text = out.text();
        text.append("DA:");
        appendNumber(text, line.number);
        text.push_back(',');
        appendNumber(text, line.hits);
        out.endLine();
    }
    writeCount(out, "LF:", fold.totals().linesValid);
    writeCount(out, "LH:", fold.totals().linesCovered);
}

} // namespace

void writeLcov(const Coverage& coverage, const WrittenNames& names, std::ostream& stream) {
    ListingOutput out(stream);
    LineFold fold;
    for (const ExportRecord& record : exportRecords(coverage)) {
        out.line("TN:");
        std::string& text = out.text();
        text.append("SF:");
        names.append(text, record.displayName);
        out.endLine();
        fold.clear();
        if (record.file != nullptr) {
            writeFunctions(*record.file, out);
            for (const auto& [line, function] : record.file->functionMap)
                fold.addFunction(*function);
        } else {
            writeCount(out, "FNF:", 0);
            writeCount(out, "FNH:", 0);
        }
        for (const CoverageFile* part : record.parts)
            for (const auto& [line, function] : part->functionMap)
                fold.addFunction(*function);
        fold.finish();
        writeBranches(fold, out);
        writeLines(fold, out);
        out.line("end_of_record");
    }
    out.finish();
}

} // namespace kiv
