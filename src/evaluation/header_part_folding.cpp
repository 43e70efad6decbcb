#include "evaluation/header_part_folding.hpp"

#include <functional>
#include <string_view>
#include <unordered_map>

#include "evaluation/saturating.hpp"
#include "evaluation/ter.hpp"

namespace kiv {

namespace {

// The identity a function's first header gives it.
struct Identity {
    const CoverageFile* file;
    std::uint32_t line;
    std::string_view name;
    std::string_view parameters;
    bool operator==(const Identity&) const = default;
};

struct IdentityHash {
    std::size_t operator()(const Identity& id) const {
        std::size_t hash = std::hash<std::string_view>{}(id.name);
        const auto mix = [&hash](std::size_t value) {
            hash ^= value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
        };
        mix(std::hash<std::string_view>{}(id.parameters));
        mix(std::hash<const CoverageFile*>{}(id.file));
        mix(std::hash<std::uint32_t>{}(id.line));
        return hash;
    }
};

Identity identityOf(const FunctionHeader& header) {
    return Identity{header.file, header.definedAtLine, header.name, header.parameters};
}

// Per owning file, the first function (in line order) of every identity.
// Built only for files that own header parts, each at most once.
class OwnerIndex {
  public:
    CoverageFunction* find(CoverageFile& owner, const FunctionHeader& header) {
        auto [entry, created] = byFile_.try_emplace(&owner);
        auto& functions = entry->second;
        if (created) {
            functions.reserve(owner.functionMap.size());
            for (auto& [line, function] : owner.functionMap)
                functions.try_emplace(identityOf(function->firstHeader), function.get());
        }
        const auto found = functions.find(identityOf(header));
        return found == functions.end() ? nullptr : found->second;
    }

  private:
    std::unordered_map<const CoverageFile*,
                       std::unordered_map<Identity, CoverageFunction*, IdentityHash>>
        byFile_;
};

} // namespace

void foldHeaderParts(Coverage& coverage) {
    OwnerIndex index;
    for (auto& [key, part] : coverage.fileMap) {
        if (part->type != kHeaderPart || part->functionMap.empty()) continue;
        const CoverageFunction& pseudo = *part->functionMap.begin()->second;
        CoverageFile* owner = pseudo.firstHeader.file;
        if (owner == nullptr) continue;
        CoverageFunction* function = index.find(*owner, pseudo.firstHeader);
        if (function == nullptr) continue;
        addSaturating(function->hits, pseudo.hits);
        addSaturating(function->all, pseudo.all);
        if (function->all != 0) function->ter = computeTer(function->hits, function->all);
        addSaturating(function->points, pseudo.points);
    }
}

void resumFilesWithHeaderParts(Coverage& coverage) {
    for (auto& [key, file] : coverage.fileMap) {
        if (!file->isSourceOrHeader() || file->headerParts.empty()) continue;
        std::uint32_t hits = 0;
        std::uint32_t all = 0;
        std::uint32_t points = 0;
        for (const auto& [line, function] : file->functionMap) {
            addSaturating(hits, function->hits);
            addSaturating(all, function->all);
            addSaturating(points, function->points);
        }
        file->hits = hits;
        file->all = all;
        if (all != 0) file->ter = computeTer(hits, all);
        file->points = points;
    }
}

} // namespace kiv
