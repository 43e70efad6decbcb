#include "reader/line_forms.hpp"

#include "diagnostics/diagnostic_record.hpp"
#include "diagnostics/raise.hpp"
#include "reader/attributes.hpp"
#include "reader/element_table.hpp"
#include "reader/line_cutting.hpp"
#include "reader/quote_search.hpp"

namespace kiv {

void ElementScanner::notAReport(int sourceLine) const {
    raise(Unit::Reader, kNotAReport, inputName_, sourceLine);
}

std::string_view ElementScanner::readCut() {
    return cut(reader_.readLine(), false);
}

std::string_view ElementScanner::cut(std::string_view line, bool secondProbeLine) {
    std::string_view element;
    switch (cutLine(line, secondProbeLine ? CutStart::LineAttribute : CutStart::Bracket, element)) {
    case CutResult::Ok:
        raw_ = std::string_view(
            element.data(), static_cast<std::size_t>(line.data() + line.size() - element.data()));
        return element;
    case CutResult::TooLong:
        raise(Unit::Reader, kLineTooLong);
    case CutResult::NotAReport:
        break;
    }
    notAReport();
}

namespace {

// Whether a ">" is in line (the first line of nearly every probe is
// searched so).
bool holdsGreaterThan(std::string_view line) {
    const char* const end = line.data() + line.size();
    return findByte<'>'>(line.data(), end) != end;
}

std::string_view withoutIndentation(std::string_view line) {
    std::size_t start = 0;
    while (start < line.size() && (line[start] == '\t' || line[start] == ' '))
        ++start;
    return line.substr(start);
}

// The lines of a probe element as the reports write them nearly always
// come cut without searching them: the first is "<probe " after blanks and
// tabs, ends with a double quote and holds no ">"; the second is "line=\""
// after blanks and tabs and ends with "/>". Cutting either gives the line
// from its first non-blank character to its end. Empty for any other line,
// which is cut the general way.
std::string_view usualFirstProbeLine(std::string_view line) {
    constexpr std::string_view kStart = "<probe ";
    line = withoutIndentation(line);
    if (!line.starts_with(kStart) || !line.ends_with('"') || holdsGreaterThan(line)) return {};
    return line;
}

std::string_view usualSecondProbeLine(std::string_view line) {
    line = withoutIndentation(line);
    if (!line.starts_with("line=\"") || !line.ends_with("/>")) return {};
    return line;
}

} // namespace

std::string_view ElementScanner::readCutLine() {
    return readCut();
}

void ElementScanner::readTextElement() {
    textElement(readCut());
}

void ElementScanner::readFileSectionElement() {
    const std::string_view line = readCut();
    if (line.find(element::kFile) != std::string_view::npos) {
        attributeElement(line, true);
    } else {
        wholeLine(line);
    }
}

void ElementScanner::readFileBodyElement() {
    constexpr auto npos = std::string_view::npos;
    const std::string_view line = readCut();
    if (line.find(element::kProbe) != npos) {
        probeElement(line, ProbeStart::General);
    } else if (line.find(element::kInclude) != npos) {
        attributeElement(line, false);
    } else if (line.find(element::kFunction) != npos) {
        attributeElement(line, true);
    } else {
        textElement(line);
    }
}

void ElementScanner::readFunctionBodyElement() {
    readFunctionBodyLines();
    if (unsplit_) splitUsualProbe();
}

void ElementScanner::readFunctionBodyLines() {
    probeSplit_ = false;
    usualProbe_ = false;
    unsplit_ = false;
    const std::string_view line = reader_.readLine();
    const std::string_view usual = usualFirstProbeLine(line);
    if (!usual.empty()) {
        probeElement(usual, ProbeStart::Usual);
        return;
    }
    const std::string_view element = cut(line, false);
    if (element.find('>') != std::string_view::npos) {
        wholeLine(element);
    } else {
        probeElement(element, ProbeStart::Cut);
    }
}

void ElementScanner::textElement(std::string_view line) {
    const std::size_t close = line.find('>');
    const std::string_view tag = close == std::string_view::npos ? line : line.substr(0, close + 1);
    // The element is the front of the raw line; its text may reach past it.
    std::string_view text = line.data() == raw_.data() ? raw_ : line;
    text.remove_prefix(tag.size());
    text = text.substr(0, text.find('<'));
    setCurrent(tag);
    if (tag == element::kParameters) {
        texts_.insertUnescaped(tag, text);
    } else {
        texts_.insert(tag, text);
    }
}

void ElementScanner::wholeLine(std::string_view line) {
    setCurrent(line);
    texts_.insert(line, {});
}

void ElementScanner::attributeElement(std::string_view line, bool closeTag) {
    const std::size_t blank = line.find(' ');
    setCurrent(line.substr(0, blank));
    if (blank == std::string_view::npos) return;
    std::string_view text = line.substr(blank + 1);
    if (closeTag) {
        closeAttributeText(text, closed_);
        text = closed_;
    }
    if (!splitAttributes(text, attributes_)) raiseUnsplittable(inputName_, diagnosticRecord());
}

void ElementScanner::probeElement(std::string_view firstLine, ProbeStart start) {
    const std::string_view second = reader_.readLineAfter(firstLine.data());
    const char* const moved = reader_.relocated();
    const std::string_view first(moved != nullptr ? moved : firstLine.data(), firstLine.size());
    const std::string_view usualSecond = usualSecondProbeLine(second);
    if (start == ProbeStart::Usual && !usualSecond.empty() && attributes_.empty()) {
        // Left as it lies until splitUsualProbe().
        usual_.set(first, usualSecond);
        usualProbe_ = true;
        unsplit_ = true;
        return;
    }
    joinedProbe(first, usualSecond.empty() ? cut(second, true) : usualSecond, start);
}

void ElementScanner::splitUsualProbe() {
    unsplit_ = false;
    // Both lines are split where they lie, as if joined by one blank.
    const ProbeLines lines = usualProbeLines();
    if (splitProbeAttributes(lines.first, lines.second, probeAttributes_)) {
        probeSplit_ = true;
        return;
    }
    usualProbe_ = false;
    joinedProbe(usual_.first(), lines.second, ProbeStart::Usual);
}

void ElementScanner::joinedProbe(std::string_view first, std::string_view second,
                                 ProbeStart start) {
    joined_.assign(first);
    joined_ += ' ';
    joined_ += second;
    if (start != ProbeStart::General && attributes_.empty()) {
        const std::string_view line = joined_;
        const std::size_t blank = line.find(' ');
        if (blank != std::string_view::npos &&
            splitProbeAttributes(line.substr(blank + 1), probeAttributes_)) {
            setCurrent(line.substr(0, blank));
            probeSplit_ = true;
            return;
        }
    }
    attributeElement(joined_, false);
}

std::string_view ElementScanner::requireAttribute(std::string_view name) const {
    const std::optional<std::string_view> value = attributes_.find(name);
    if (!value) notAReport();
    return *value;
}

std::string_view ElementScanner::requireText(std::string_view tag) const {
    const std::optional<std::string_view> value = texts_.find(tag);
    if (!value) notAReport();
    return *value;
}

} // namespace kiv
