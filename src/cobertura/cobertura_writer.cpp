#include "cobertura/cobertura_writer.hpp"

#include <algorithm>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "cobertura/cobertura_text.hpp"
#include "export/export_records.hpp"
#include "export/line_fold.hpp"
#include "export/written_names.hpp"
#include "listing/listing_output.hpp"
#include "model/coverage_file.hpp"

namespace kiv {

namespace {

using ClassEntry = CoberturaPlan::Class;

// The indentation of a line element in a class and in a method.
constexpr unsigned kClassTabs = 6;
constexpr unsigned kMethodTabs = 8;
static_assert(kClassTabs <= kMethodTabs && kMethodTabs <= 8);

// The package of a written name: its directory with "." for each separator;
// empty for a name without one.
std::string packageName(const ClassEntry& entry) {
    std::string name = entry.written.substr(0, entry.baseName == 0 ? 0 : entry.baseName - 1);
    for (char& c : name)
        if (isNameSeparator(c)) c = '.';
    return name;
}

void appendAttribute(std::string& text, std::string_view name, std::string_view value) {
    text.push_back(' ');
    text.append(name);
    text.append("=\"");
    appendXmlText(text, value);
    text.push_back('"');
}

void appendNumberAttribute(std::string& text, std::string_view name, std::uint64_t value) {
    text.push_back(' ');
    text.append(name);
    text.append("=\"");
    appendNumber(text, value);
    text.push_back('"');
}

// line-rate, branch-rate and complexity.
void appendRates(std::string& text, const CoberturaPlan::MethodRates& rates) {
    text.append(" line-rate=\"");
    appendRate(text, rates.lines);
    text.append("\" branch-rate=\"");
    appendRate(text, rates.branches);
    text.append("\" complexity=\"0\"");
}

CoberturaPlan::MethodRates ratesOf(const ExportTotals& totals) {
    return {rateOf(totals.linesCovered, totals.linesValid),
            rateOf(totals.branchesCovered, totals.branchesValid)};
}

std::string& indented(ListingOutput& out, unsigned tabs) {
    std::string& text = out.text();
    text.append(tabs, '\t');
    return text;
}

// A line element after `tabs` tabs.
void writeLine(LineBatch& batch, unsigned tabs, const ExportLine& line,
               std::span<const std::uint64_t> branches) {
    batch.tabs(tabs)
        .text("<line number=\"")
        .number(line.number)
        .text("\" hits=\"")
        .number(line.hits);
    if (branches.empty()) {
        batch.text("\" branch=\"false\"/>").endLine();
        return;
    }
    const auto covered = static_cast<std::uint64_t>(std::count_if(
        branches.begin(), branches.end(), [](std::uint64_t taken) { return taken != 0; }));
    batch.text("\" branch=\"true\" condition-coverage=\"")
        .number(covered * 100 / branches.size())
        .text("% (")
        .number(covered)
        .character('/')
        .number(branches.size())
        .text(")\"/>")
        .endLine();
}

// Writes a line element for every line the functions fold into.
void writeLines(std::span<const CoverageFunction* const> functions, unsigned tabs, LineFold& fold,
                ListingOutput& out) {
    LineBatch batch(out);
    fold.fold(functions, [&](const ExportLine& line, std::span<const std::uint64_t> branches) {
        writeLine(batch, tabs, line, branches);
    });
    batch.flush();
}

// A method's rates come before its lines: they were planned.
void writeMethods(const ExportRecord& record, const CoberturaPlan::MethodRates* rates,
                  LineFold& fold, ListingOutput& out) {
    indented(out, 5).append("<methods>");
    out.endLine();
    if (record.file != nullptr) {
        for (const auto& [line, function] : record.file->functionMap) {
            const CoverageFunction* const self[] = {function.get()};
            std::string& text = indented(out, 6);
            text.append("<method");
            appendAttribute(text, "name", function->name);
            appendAttribute(text, "signature", function->parameters);
            appendRates(text, *rates++);
            text.push_back('>');
            out.endLine();
            out.line("\t\t\t\t\t\t\t<lines>");
            writeLines(self, kMethodTabs, fold, out);
            out.line("\t\t\t\t\t\t\t</lines>");
            out.line("\t\t\t\t\t\t</method>");
        }
    }
    indented(out, 5).append("</methods>");
    out.endLine();
}

void writeClass(const CoberturaPlan& plan, const ClassEntry& entry, LineFold& fold,
                std::vector<const CoverageFunction*>& functions, ListingOutput& out) {
    std::string& text = indented(out, 4);
    text.append("<class");
    appendAttribute(text, "name", std::string_view(entry.written).substr(entry.baseName));
    appendAttribute(text, "filename", entry.written);
    appendRates(text, ratesOf(entry.totals));
    text.push_back('>');
    out.endLine();
    writeMethods(*entry.record, plan.methods.data() + entry.methods, fold, out);
    out.line("\t\t\t\t\t<lines>");
    recordFunctions(*entry.record, functions);
    writeLines(functions, kClassTabs, fold, out);
    out.line("\t\t\t\t\t</lines>");
    indented(out, 4).append("</class>");
    out.endLine();
}

void writeHeader(const CoberturaRun& run, const ExportTotals& totals, ListingOutput& out) {
    out.line("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    out.line("<!DOCTYPE coverage SYSTEM "
             "\"http://cobertura.sourceforge.net/xml/coverage-04.dtd\">");
    std::string& text = out.text();
    text.append("<coverage line-rate=\"");
    appendRate(text, totals.linesCovered, totals.linesValid);
    text.append("\" branch-rate=\"");
    appendRate(text, totals.branchesCovered, totals.branchesValid);
    text.push_back('"');
    appendNumberAttribute(text, "lines-covered", totals.linesCovered);
    appendNumberAttribute(text, "lines-valid", totals.linesValid);
    appendNumberAttribute(text, "branches-covered", totals.branchesCovered);
    appendNumberAttribute(text, "branches-valid", totals.branchesValid);
    text.append(" complexity=\"0\"");
    appendAttribute(text, "version", run.version);
    text.append(" timestamp=\"");
    if (run.timestamp < 0) text.push_back('-');
    appendNumber(text, run.timestamp < 0 ? 0 - static_cast<std::uint64_t>(run.timestamp)
                                         : static_cast<std::uint64_t>(run.timestamp));
    text.append("\">");
    out.endLine();
    out.line("\t<sources>");
    std::string& source = indented(out, 2);
    source.append("<source>");
    appendXmlText(source, run.source);
    source.append("</source>");
    out.endLine();
    out.line("\t</sources>");
}

} // namespace

CoberturaPlan layoutCobertura(const std::vector<ExportRecord>& records, const WrittenNames& names) {
    CoberturaPlan plan;
    plan.classes.resize(records.size());
    std::size_t methods = 0;
    for (std::size_t index = 0; index < records.size(); ++index) {
        const ExportRecord& record = records[index];
        ClassEntry& entry = plan.classes[index];
        entry.record = &record;
        entry.written = names.written(record.displayName);
        entry.baseName = entry.written.find_last_of("/\\");
        entry.baseName = entry.baseName == std::string::npos ? 0 : entry.baseName + 1;
        entry.methods = methods;
        if (record.file != nullptr) methods += record.file->functionMap.size();
    }
    plan.methods.resize(methods);
    return plan;
}

void foldCoberturaClasses(CoberturaPlan& plan, std::atomic<std::size_t>& next) {
    LineFold fold;
    std::vector<const CoverageFunction*> functions;
    for (std::size_t index; (index = next.fetch_add(1)) < plan.classes.size();) {
        ClassEntry& entry = plan.classes[index];
        const ExportRecord& record = *entry.record;
        // A file whose functions share no line, without header parts, folds
        // into the lines of its methods one after the other.
        recordFunctions(record, functions);
        const bool apart = record.parts.empty() && fold.apart(functions);
        if (record.file != nullptr) {
            CoberturaPlan::MethodRates* rates = plan.methods.data() + entry.methods;
            for (const auto& [line, function] : record.file->functionMap) {
                const CoverageFunction* const self[] = {function.get()};
                const ExportTotals totals = fold.fold(self, [](const ExportLine&, auto) {});
                *rates++ = ratesOf(totals);
                if (apart) entry.totals.add(totals);
            }
        }
        if (!apart) entry.totals = fold.fold(functions, [](const ExportLine&, auto) {});
    }
}

void completeCoberturaPlan(CoberturaPlan& plan) {
    std::map<std::string, CoberturaPlan::Package> packages;
    for (std::size_t index = 0; index < plan.classes.size(); ++index) {
        const ClassEntry& entry = plan.classes[index];
        CoberturaPlan::Package& package = packages[packageName(entry)];
        package.classes.push_back(index);
        package.totals.add(entry.totals);
        plan.totals.add(entry.totals);
    }
    plan.packages.reserve(packages.size());
    for (auto& [name, package] : packages) {
        package.name = name;
        plan.packages.push_back(std::move(package));
    }
}

CoberturaPlan planCobertura(const std::vector<ExportRecord>& records, const WrittenNames& names) {
    CoberturaPlan plan = layoutCobertura(records, names);
    std::atomic<std::size_t> next = 0;
    foldCoberturaClasses(plan, next);
    completeCoberturaPlan(plan);
    return plan;
}

void writeCobertura(const CoberturaPlan& plan, const CoberturaRun& run, std::ostream& stream) {
    LineFold fold;
    std::vector<const CoverageFunction*> functions;
    ListingOutput out(stream, kExportBlockSize);
    writeHeader(run, plan.totals, out);
    out.line("\t<packages>");
    for (const CoberturaPlan::Package& package : plan.packages) {
        std::string& text = indented(out, 2);
        text.append("<package");
        appendAttribute(text, "name", package.name);
        appendRates(text, ratesOf(package.totals));
        text.push_back('>');
        out.endLine();
        out.line("\t\t\t<classes>");
        for (const std::size_t index : package.classes)
            writeClass(plan, plan.classes[index], fold, functions, out);
        out.line("\t\t\t</classes>");
        out.line("\t\t</package>");
    }
    out.line("\t</packages>");
    out.line("</coverage>");
    out.finish();
}

void writeCobertura(const std::vector<ExportRecord>& records, const WrittenNames& names,
                    const CoberturaRun& run, std::ostream& stream) {
    writeCobertura(planCobertura(records, names), run, stream);
}

} // namespace kiv
