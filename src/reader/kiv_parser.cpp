#include "reader/kiv_parser.hpp"

namespace kiv {

KIVParser::KIVParser(bool, std::vector<std::string>, std::vector<std::string>) {}
KIVParser::~KIVParser() = default;

void KIVParser::parse(std::string) {}

} // namespace kiv
