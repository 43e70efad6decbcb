#include "driver/export_usage.hpp"

#include "driver/version.hpp"

namespace kiv {

void writeExportUsage(std::ostream& out) {
    out << "\n"
        << "This KIVEX utility kivxmlexport (v" << versionText()
        << ") reads kivpost-generated XML coverage\n"
        << "report(s), merges them as kivxmlmerge does, and writes the merged coverage\n"
        << "as lcov tracefile (-lcov) and/or Cobertura XML (-cobertura) for coverage\n"
        << "viewers and CI dashboards.\n"
        << "\n"
        << "Usage:\n"
        << "kivxmlexport input.xml... [-lcov file] [-cobertura file] [-root dir] [@optionsfile]\n"
        << "             [-f file[;file]...]... [-nf file[;file]...]... [-ndl]\n"
        << "kivxmlexport [-h]\n"
        << "\n"
        << "Options:\n"
        << "   input.xml        Input XML file. One or more KIVEX XML coverage reports.\n"
        << "   -lcov file       Output merged coverage as lcov tracefile.\n"
        << "   -cobertura file  Output merged coverage as Cobertura XML.\n"
        << "   -root dir        File names below dir are written relative to it.\n"
        << "   @optionsfile     Input and options can be given also at optionsfile.\n"
        << "   -f file          Only these instrumented files are reported.\n"
        << "   -nf file         These instrumented files are not reported.\n"
        << "   -ndl             No drive letter (removed from reported filenames).\n"
        << "   -h               Display command line help.\n"
        << "\n"
        << "Example: kivxmlexport input1.xml input2.xml -lcov merged.info -cobertura "
           "coverage.xml\n";
    out.flush();
}

} // namespace kiv
