#include "export/export_records.hpp"

#include <map>

#include "model/coverage.hpp"
#include "model/coverage_function.hpp"

namespace kiv {

std::vector<ExportRecord> exportRecords(const Coverage& coverage) {
    std::map<std::string_view, ExportRecord> byKey;
    for (const auto& [key, file] : coverage.fileMap) {
        if (!file->chosen) continue;
        const std::string_view recordKey = file->isSourceOrHeader() ? file->key : file->headerKey;
        ExportRecord& record = byKey[recordKey];
        record.key = recordKey;
        if (file->isSourceOrHeader()) {
            record.file = file.get();
        } else {
            record.parts.push_back(file.get());
        }
    }
    std::vector<ExportRecord> records;
    records.reserve(byKey.size());
    for (auto& [key, record] : byKey) {
        const CoverageFile* first = record.file;
        for (const CoverageFile* part : record.parts)
            if (first == nullptr || part->creationOrder < first->creationOrder) first = part;
        record.displayName = first->displayName;
        records.push_back(std::move(record));
    }
    std::vector<const CoverageFunction*> functions;
    for (const ExportRecord& record : records) {
        recordFunctions(record, functions);
        for (const CoverageFunction* function : functions)
            function->probes.settle();
    }
    return records;
}

void recordFunctions(const ExportRecord& record, std::vector<const CoverageFunction*>& functions) {
    functions.clear();
    if (record.file != nullptr)
        for (const auto& [line, function] : record.file->functionMap)
            functions.push_back(function.get());
    for (const CoverageFile* part : record.parts)
        for (const auto& [line, function] : part->functionMap)
            functions.push_back(function.get());
}

} // namespace kiv
