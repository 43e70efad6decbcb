#include "reader/kiv_parser.hpp"

#include "diagnostics/raise.hpp"
#include "model/current_coverage.hpp"
#include "reader/report_reader.hpp"

namespace kiv {

KIVParser::KIVParser(bool noDriveLetter, std::vector<std::string> chosenPatterns,
                     std::vector<std::string> unchosenPatterns)
    : filter_(noDriveLetter, chosenPatterns, unchosenPatterns),
      reader_(std::make_unique<ReportReader>(filter_)) {}

KIVParser::~KIVParser() = default;

void KIVParser::parse(std::string fileName) {
    Coverage* coverage = currentCoverage();
    if (coverage == nullptr) raise(Unit::Internal, kInternalError);
    reader_->read(fileName, *coverage);
}

void KIVParser::parseAll(std::span<const std::string_view> fileNames) {
    Coverage* coverage = currentCoverage();
    if (coverage == nullptr) raise(Unit::Internal, kInternalError);
    reader_->readAll(fileNames, *coverage);
}

std::string KIVParser::displayName(std::string_view name) const {
    return kiv::displayName(name, filter_.noDriveLetter());
}

std::string KIVParser::normaliseName(std::string_view name) const {
    return kiv::normaliseName(name, filter_.noDriveLetter());
}

bool KIVParser::isChosen(std::string_view displayName) const {
    return filter_.isChosen(displayName);
}

bool KIVParser::matchPattern(std::string_view pattern, std::string_view name) const {
    return kiv::matchPattern(pattern, name);
}

} // namespace kiv
