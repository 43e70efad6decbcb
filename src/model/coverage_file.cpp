#include "model/coverage_file.hpp"

#include <unordered_map>

namespace kiv {

// Identity index of the function map: (name, line, parameters) to the first
// function of that identity.
struct CoverageFile::Index {
    std::unordered_map<std::string, CoverageFunction*> byIdentity;
};

CoverageFile::CoverageFile(std::string fileKey, int fileTypeCode, std::string name,
                           bool isChosen)
    : key(std::move(fileKey)), type(fileTypeCode), displayName(std::move(name)),
      fileType(fileTypeCode == kSourceFile ? "source" : "header"), chosen(isChosen) {}

CoverageFile::~CoverageFile() = default;

} // namespace kiv
