#include "listing/listing_header.hpp"

#include <string>
#include <string_view>
#include <vector>

#include "listing/listing_output.hpp"
#include "model/coverage.hpp"

namespace kiv {

namespace {

constexpr std::size_t kBoxTextWidth = 76;
constexpr std::string_view kStars =
    "*****************************************************************************";
constexpr std::string_view kEmptyBoxLine =
    "*                                                                           *";
constexpr std::string_view kContinuation = "                      : ";

std::string_view entryOf(const std::vector<std::string>& list, std::size_t index) {
    return index < list.size() ? std::string_view{list[index]} : std::string_view{};
}

// prefix + value padded with blanks to 76 characters, then the closing star.
void writeBoxLine(ListingOutput& out, std::string_view prefix, std::string_view value,
                  std::string_view suffix = {}) {
    std::string& text = out.text();
    const std::size_t start = text.size();
    text.append(prefix);
    text.append(value);
    text.append(suffix);
    const std::size_t length = text.size() - start;
    if (length < kBoxTextWidth) text.append(kBoxTextWidth - length, ' ');
    text.push_back('*');
    out.endLine();
}

// A label and its entries, one per line, the later ones under the first.
template <typename List>
void writeList(ListingOutput& out, std::string_view label, const List& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::string& text = out.text();
        text.append(i == 0 ? label : kContinuation);
        text.append(entries[i]);
        out.endLine();
    }
}

void writeLabelled(ListingOutput& out, std::string_view label, std::string_view value) {
    std::string& text = out.text();
    text.append(label);
    text.append(value);
    out.endLine();
}

} // namespace

void writeHeaderBox(const Coverage& coverage, ListingOutput& out) {
    out.line(kStars);
    writeBoxLine(out, "*           KIVEX, Test Coverage Analyzer for C/C++, Version ",
                 coverage.kivpostVersions.first());
    out.line(kEmptyBoxLine);
    writeBoxLine(out, "*             EXECUTION PROFILE LISTING (MERGED by kivxmlmerge v",
                 coverage.kivxmlmergeVersion, ")");
    out.line(kEmptyBoxLine);
    writeBoxLine(out, "*                    ", entryOf(coverage.copyright, 0));
    writeBoxLine(out, "*             ", entryOf(coverage.copyright, 1));
    out.line(kStars);
    out.emptyLines(2);
}

void writeInputSection(const Coverage& coverage, ListingOutput& out) {
    writeList(out, "XML file(s) used      : ", coverage.inputReports);
    writeList(out, "Chosen file(s)        : ", coverage.chosenPatterns);
    writeList(out, "Unchosen file(s)      : ", coverage.unchosenPatterns);
    writeLabelled(out, "Listing produced at   : ", coverage.reportGenerated);
    writeLabelled(out, "Coverage view         : ", coverage.requestedCoverageView);
    out.emptyLines(3);
}

} // namespace kiv
