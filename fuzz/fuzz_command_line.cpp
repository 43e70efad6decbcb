// The command line and options-file tokenising. The input holds the options
// file's text, a NUL byte, then the arguments separated by NUL bytes. Names
// are kept inside the scratch folder: the only options file is "@opts" and
// the only input report that exists is "in.xml".
#include <algorithm>

#include "driver/options_file.hpp"
#include "fuzz_support.hpp"

namespace {

const char kReport[] = "<?xml version=\"1.0\"?>\n\n<kiv_xml_report>\n\n<header_info>\n"
                       "<kivpost_version>8.3</kivpost_version>\n"
                       "<requested_coverage_view>As instrumented</requested_coverage_view>\n"
                       "</header_info>\n\n<kivpost_notices>\n</kivpost_notices>\n\n"
                       "<overall_summary>\n</overall_summary>\n";

} // namespace

// Relative names (input reports, options files and outputs named inside an
// options file) resolve inside the scratch folder. The runner passes
// absolute corpus paths, so the fuzzer's own files are unaffected.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (chdir(kiv::fuzz::scratchDir().c_str()) != 0) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = bytes.find('\0');
    // Names in the options file stay inside the scratch folder too.
    std::string optionsText(bytes.substr(0, nul));
    std::replace(optionsText.begin(), optionsText.end(), '/', '_');

    // Tokenising in pieces gives the same tokens as in one go.
    kiv::OptionsTokenizer whole;
    whole.feed(optionsText);
    kiv::OptionsTokenizer pieces;
    for (std::size_t i = 0; i < optionsText.size(); i += 7)
        pieces.feed(std::string_view(optionsText).substr(i, 7));
    if (whole.finish() != pieces.finish()) std::abort();

    kiv::fuzz::writeScratch("opts", optionsText);
    kiv::fuzz::writeScratch("in.xml", kReport);

    std::vector<std::string> arguments;
    if (nul != std::string_view::npos) {
        std::string_view rest = bytes.substr(nul + 1);
        while (arguments.size() < 64) {
            const std::size_t end = rest.find('\0');
            std::string argument(rest.substr(0, end));
            // Keep every name inside the scratch folder.
            if (argument.find('/') != std::string::npos) argument = "x";
            if (argument.size() > 1 && argument[0] == '@') argument = "@opts";
            arguments.push_back(argument);
            if (end == std::string_view::npos) break;
            rest.remove_prefix(end + 1);
        }
    }
    // Outputs named on the command line go to standard output; those named in
    // the options file land in the scratch folder.
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i)
        if (arguments[i] == "-p" || arguments[i] == "-x" || arguments[i] == "-lcov" ||
            arguments[i] == "-cobertura")
            arguments[i + 1] = "-";
    // Both programs read the same command line, each with its own options.
    kiv::fuzz::runChecked(kiv::runMerge, "kivxmlmerge", arguments, {});
    kiv::fuzz::runChecked(kiv::runExport, "kivxmlexport", arguments, {});
    return 0;
}
