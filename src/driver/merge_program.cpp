#include <array>

#include "diagnostics/units.hpp"
#include "driver/output.hpp"
#include "driver/program.hpp"
#include "driver/run.hpp"
#include "driver/usage.hpp"
#include "listing/listing_writer.hpp"
#include "summary/summary_writer.hpp"

namespace kiv {

namespace {

constexpr std::array<ValueOption, 2> kOptions = {{
    {"-p", kOptionPArgument, &Settings::listingName, true},
    {"-x", kOptionXArgument, &Settings::summaryName, true},
}};

void writeOutputs(const Coverage& coverage, const Settings& settings, std::ostream& out) {
    // The listing is complete and closed before the summary is opened, so
    // both naming one file leaves the summary in it.
    if (!settings.listingName.empty())
        writeOutput(settings.listingName, out,
                    [&](std::ostream& stream) { writeListing(coverage, stream); });
    if (!settings.summaryName.empty())
        writeOutput(settings.summaryName, out,
                    [&](std::ostream& stream) { writeSummary(coverage, stream); });
}

} // namespace

const Program& mergeProgram() {
    static constexpr Program program{"kivxmlmerge", kOptions, kOutputOptionMissing, writeUsage,
                                     writeOutputs};
    return program;
}

int runMerge(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
             ModelAtEnd atEnd) {
    return runProgram(mergeProgram(), arguments, out, err, atEnd);
}

} // namespace kiv
