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

// One exported file: a class of the package of its directory.
struct ClassEntry {
    const ExportRecord* record;
    std::string written;  // its written name
    std::size_t baseName; // where its base name begins in `written`
    ExportTotals totals;
};

struct PackageEntry {
    std::vector<const ClassEntry*> classes; // in record order
    ExportTotals totals;
};

// Reused from one fold to the next.
struct Folding {
    LineFold fold;
    std::vector<const CoverageFunction*> functions;
    std::string methodLines; // one method's lines
    std::string classLines;  // the class's lines, taken from its methods
};

// The lines the buffers hold at most (well below the model's size); a method
// or class with more is folded once more instead.
constexpr std::size_t kMethodLinesKept = 64 * 1024;
constexpr std::size_t kClassLinesKept = 256 * 1024;
// The indentation of a line element in a class and in a method.
constexpr unsigned kClassTabs = 6;
constexpr unsigned kMethodTabs = 8;

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
void appendRates(std::string& text, const ExportTotals& totals) {
    text.append(" line-rate=\"");
    appendRate(text, totals.linesCovered, totals.linesValid);
    text.append("\" branch-rate=\"");
    appendRate(text, totals.branchesCovered, totals.branchesValid);
    text.append("\" complexity=\"0\"");
}

std::string& indented(ListingOutput& out, unsigned tabs) {
    std::string& text = out.text();
    text.append(tabs, '\t');
    return text;
}

// A line element, from "<line" to "/>".
ShortLine lineElement(const ExportLine& line, std::span<const std::uint64_t> branches) {
    ShortLine text;
    text.text("<line number=\"").number(line.number).text("\" hits=\"").number(line.hits);
    if (branches.empty()) {
        text.text("\" branch=\"false\"/>");
        return text;
    }
    const auto covered = static_cast<std::uint64_t>(std::count_if(
        branches.begin(), branches.end(), [](std::uint64_t taken) { return taken != 0; }));
    text.text("\" branch=\"true\" condition-coverage=\"")
        .number(covered * 100 / branches.size())
        .text("% (")
        .number(covered)
        .character('/')
        .number(branches.size())
        .text(")\"/>");
    return text;
}

// Appends a line element after `tabs` tabs, without a line feed.
void appendLine(std::string& out, unsigned tabs, const ShortLine& element) {
    out.append(tabs, '\t');
    element.appendTo(out);
}

// Writes the methods of a class; returns whether folding.classLines holds
// the class's lines. They are its methods' lines one after the other when
// the record has no header parts and its functions, in order, share no line
// (nearly always): the class then needs no fold of its own.
bool writeMethods(const ExportRecord& record, Folding& folding, ListingOutput& out) {
    indented(out, 5).append("<methods>");
    out.endLine();
    std::string& classLines = folding.classLines;
    classLines.clear();
    bool whole = record.parts.empty();
    std::uint32_t lastLine = 0;
    bool anyLine = false;
    if (record.file != nullptr) {
        for (const auto& [line, function] : record.file->functionMap) {
            if (!function->probes.empty()) {
                if (anyLine && LineFold::firstLine(*function) <= lastLine) whole = false;
                lastLine = LineFold::lastLine(*function);
                anyLine = true;
            }
            const CoverageFunction* const self[] = {function.get()};
            // The method's rates come before its lines: its lines wait in a
            // buffer, unless there are too many; the function is then folded
            // once more and they go straight out.
            std::string& lines = folding.methodLines;
            lines.clear();
            const ExportTotals totals = folding.fold.fold(
                self, [&](const ExportLine& folded, std::span<const std::uint64_t> branches) {
                    if (lines.size() > kMethodLinesKept) return;
                    const ShortLine element = lineElement(folded, branches);
                    appendLine(lines, kMethodTabs, element);
                    lines.push_back('\n');
                    if (!whole) return;
                    if (classLines.size() > kClassLinesKept) {
                        whole = false;
                        return;
                    }
                    appendLine(classLines, kClassTabs, element);
                    classLines.push_back('\n');
                });
            std::string& text = indented(out, 6);
            text.append("<method");
            appendAttribute(text, "name", function->name);
            appendAttribute(text, "signature", function->parameters);
            appendRates(text, totals);
            text.push_back('>');
            out.endLine();
            out.line("\t\t\t\t\t\t\t<lines>");
            if (lines.size() <= kMethodLinesKept) {
                if (!lines.empty()) {
                    lines.pop_back();
                    out.line(lines);
                }
            } else {
                whole = false;
                folding.fold.fold(
                    self, [&](const ExportLine& folded, std::span<const std::uint64_t> branches) {
                        appendLine(out.text(), kMethodTabs, lineElement(folded, branches));
                        out.endLine();
                    });
            }
            if (!whole) classLines.clear();
            out.line("\t\t\t\t\t\t\t</lines>");
            out.line("\t\t\t\t\t\t</method>");
        }
    }
    indented(out, 5).append("</methods>");
    out.endLine();
    return whole;
}

void writeClass(const ClassEntry& entry, Folding& folding, ListingOutput& out) {
    std::string& text = indented(out, 4);
    text.append("<class");
    appendAttribute(text, "name", std::string_view(entry.written).substr(entry.baseName));
    appendAttribute(text, "filename", entry.written);
    appendRates(text, entry.totals);
    text.push_back('>');
    out.endLine();
    const bool linesHeld = writeMethods(*entry.record, folding, out);
    out.line("\t\t\t\t\t<lines>");
    if (linesHeld) {
        std::string& lines = folding.classLines;
        if (!lines.empty()) {
            lines.pop_back();
            out.line(lines);
        }
    } else {
        recordFunctions(*entry.record, folding.functions);
        folding.fold.fold(folding.functions,
                          [&](const ExportLine& line, std::span<const std::uint64_t> branches) {
                              appendLine(out.text(), kClassTabs, lineElement(line, branches));
                              out.endLine();
                          });
    }
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

void writeCobertura(const std::vector<ExportRecord>& records, const WrittenNames& names,
                    const CoberturaRun& run, std::ostream& stream) {
    Folding folding;

    // The totals of every class, package and of the whole come first, since
    // the elements that open them carry them.
    std::vector<ClassEntry> classes;
    classes.reserve(records.size());
    for (const ExportRecord& record : records) {
        ClassEntry& entry = classes.emplace_back();
        entry.record = &record;
        entry.written = names.written(record.displayName);
        entry.baseName = entry.written.find_last_of("/\\");
        entry.baseName = entry.baseName == std::string::npos ? 0 : entry.baseName + 1;
        recordFunctions(record, folding.functions);
        entry.totals = folding.fold.fold(folding.functions, [](const ExportLine&, auto) {});
    }
    std::map<std::string, PackageEntry> packages;
    ExportTotals totals;
    for (const ClassEntry& entry : classes) {
        PackageEntry& package = packages[packageName(entry)];
        package.classes.push_back(&entry);
        package.totals.add(entry.totals);
        totals.add(entry.totals);
    }

    ListingOutput out(stream, kExportBlockSize);
    folding.methodLines.reserve(kMethodLinesKept + 4096);
    folding.classLines.reserve(kClassLinesKept + 4096);
    writeHeader(run, totals, out);
    out.line("\t<packages>");
    for (const auto& [name, package] : packages) {
        std::string& text = indented(out, 2);
        text.append("<package");
        appendAttribute(text, "name", name);
        appendRates(text, package.totals);
        text.push_back('>');
        out.endLine();
        out.line("\t\t\t<classes>");
        for (const ClassEntry* entry : package.classes)
            writeClass(*entry, folding, out);
        out.line("\t\t\t</classes>");
        out.line("\t\t</package>");
    }
    out.line("\t</packages>");
    out.line("</coverage>");
    out.finish();
}

} // namespace kiv
