#include "model/coverage_file.hpp"

#include <functional>

#include "model/function_identity.hpp"

namespace kiv {

std::size_t FunctionIdentityHash::operator()(const FunctionIdentity& identity) const {
    const std::hash<std::string_view> hashText;
    std::size_t hash = hashText(identity.name);
    hash ^= hashText(identity.parameters) + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
    hash ^= identity.line + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
    return hash;
}

void CoverageFile::Index::add(CoverageFunction& function) {
    byIdentity.try_emplace(
        FunctionIdentity{function.name, function.definedAtLine, function.parameters}, &function);
    ++indexed;
}

void CoverageFile::Index::rebuild(const FunctionMap& functions) {
    byIdentity.clear();
    indexed = 0;
    lastFound = nullptr;
    // In map order, so that the first of equal functions is the one found.
    for (const auto& [line, function] : functions)
        add(*function);
}

CoverageFile::CoverageFile(std::string fileKey, int fileTypeCode, std::string name, bool isChosen)
    : key(std::move(fileKey)), type(fileTypeCode), displayName(std::move(name)),
      fileType(fileTypeCode == kSourceFile ? "source" : "header"), chosen(isChosen),
      index_(std::make_unique<Index>()) {}

CoverageFile::~CoverageFile() = default;

CoverageFunction* CoverageFile::findFunction(std::string_view name, std::uint32_t line,
                                             std::string_view parameters) const {
    Index& index = *index_;
    // Functions are meant to be added through addFunction; a map changed
    // elsewhere is picked up here.
    if (index.indexed != functionMap.size()) index.rebuild(functionMap);
    if (index.lastFound != nullptr && index.lastFound->sameFunction(name, line, parameters))
        return index.lastFound;
    const auto found = index.byIdentity.find(FunctionIdentity{name, line, parameters});
    if (found == index.byIdentity.end()) return nullptr;
    index.lastFound = found->second;
    return found->second;
}

} // namespace kiv
