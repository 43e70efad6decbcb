#include "driver/usage.hpp"

#include "driver/version.hpp"

namespace kiv {

void writeUsage(std::ostream& out) {
    out << "\n"
        << "This KIVEX utility kivxmlmerge (v" << versionText()
        << ") reads kivpost-generated XML coverage\n"
        << "report(s), extracts instrumented header files to their own entities, sums up\n"
        << "execution hits, recalculates TER, and writes merged textual execution\n"
        << "profile listing (-p) and/or summary XML report (-x, TERs only).\n"
        << "\n"
        << "Usage:\n"
        << "kivxmlmerge input.xml... [-p profilefile] [-x xmlfile] [@optionsfile]\n"
        << "            [-f file[;file]...]... [-nf file[;file]...]... [-ndl]\n"
        << "kivxmlmerge [-h]\n"
        << "\n"
        << "Options:\n"
        << "   input.xml       Input XML file. One or more KIVEX XML coverage reports.\n"
        << "   -p profilefile  Output merged textual execution profile listing.\n"
        << "   -x xmlfile      Output merged summary XML report.\n"
        << "   @optionsfile    Input and options can be given also at optionsfile.\n"
        << "   -f file         Only these instrumented files are reported.\n"
        << "   -nf file        These instrumented files are not reported.\n"
        << "   -ndl            No drive letter (removed from reported filenames).\n"
        << "   -h              Display command line help.\n"
        << "\n"
        << "Example: kivxmlmerge input1.xml input2.xml -p profile.txt -x summary.xml\n";
    out.flush();
}

} // namespace kiv
