#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_records.hpp"
#include "export/line_fold.hpp"

namespace kiv {

class WrittenNames;

// What the document says of the run itself.
struct CoberturaRun {
    std::string_view version; // the program's version
    std::string_view source;  // the directory the file names are relative to
    std::time_t timestamp;    // seconds
};

// What the elements that open the document, its packages, classes and
// methods carry: the totals of every method, class, package and of the
// whole. Known before the first byte is written, so they take a fold of
// every function first.
struct CoberturaPlan {
    // One exported file: a class of the package of its directory.
    struct Class {
        const ExportRecord* record = nullptr;
        std::string written;      // its written name
        std::size_t baseName = 0; // where its base name begins in `written`
        std::size_t methods = 0;  // where the rates of its methods begin in `methods`
        ExportTotals totals;
    };
    struct Package {
        std::string name;                 // the directory, "." for each separator
        std::vector<std::size_t> classes; // indexes into `classes`, in record order
        ExportTotals totals;
    };
    std::vector<Class> classes; // as the records
    // A method's line-rate and branch-rate: all a method element says of its
    // totals, kept small since a file may have tens of thousands of them.
    struct MethodRates {
        std::uint16_t lines = 0;
        std::uint16_t branches = 0;
    };
    std::vector<MethodRates> methods; // the functions of each class's file, class by class
    std::vector<Package> packages;    // by name
    ExportTotals totals;
};

// Plans the Cobertura XML of the export records of a finished model, in
// three steps so that two threads can share the folds, the bulk of it:
// layoutCobertura() names the classes and places the rates of their methods;
// foldCoberturaClasses() folds the classes that `next` (from 0) hands out, one
// at a time, until none is left, and may run on several threads at once;
// once every call has returned, completeCoberturaPlan() sums the packages and
// the whole. The plan refers to the records.
CoberturaPlan layoutCobertura(const std::vector<ExportRecord>& records, const WrittenNames& names);
void foldCoberturaClasses(CoberturaPlan& plan, std::atomic<std::size_t>& next);
void completeCoberturaPlan(CoberturaPlan& plan);

// The three steps on this thread.
CoberturaPlan planCobertura(const std::vector<ExportRecord>& records, const WrittenNames& names);

// Writes a planned document: one package per directory of the written file
// names (by name), one class per record, one method per function, each with
// its lines and their branches.
void writeCobertura(const CoberturaPlan& plan, const CoberturaRun& run, std::ostream& stream);

// Plans and writes.
void writeCobertura(const std::vector<ExportRecord>& records, const WrittenNames& names,
                    const CoberturaRun& run, std::ostream& stream);

} // namespace kiv
