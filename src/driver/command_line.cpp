#include "driver/command_line.hpp"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "diagnostics/raise.hpp"
#include "driver/options_file.hpp"
#include "driver/program.hpp"

namespace kiv {

std::vector<std::string> expandOptionsFiles(std::vector<std::string> arguments) {
    const auto isOptionsFile = [](const std::string& a) { return !a.empty() && a[0] == '@'; };
    if (std::none_of(arguments.begin(), arguments.end(), isOptionsFile)) return arguments;
    std::vector<std::string> expanded;
    expanded.reserve(arguments.size());
    for (std::string& argument : arguments) {
        if (!isOptionsFile(argument)) {
            expanded.push_back(std::move(argument));
            continue;
        }
        const std::string name = argument.substr(1);
        if (name.empty()) raise(Unit::CommandLine, kOptionAtArgument);
        auto tokens = readOptionsFile(name);
        if (!tokens) raise(Unit::CommandLine, kOptionsFileMissing, name);
        // Tokens are taken as they are: options files do not nest.
        for (std::string& token : *tokens)
            expanded.push_back(std::move(token));
    }
    return expanded;
}

void splitPatterns(std::string_view argument, std::vector<std::string>& patterns) {
    while (!argument.empty()) {
        const std::size_t cut = argument.find(';');
        if (cut == std::string_view::npos) {
            patterns.emplace_back(argument);
            return;
        }
        patterns.emplace_back(argument.substr(0, cut));
        argument.remove_prefix(cut + 1);
    }
}

void checkInputName(const std::string& name) {
    if (std::FILE* file = std::fopen(name.c_str(), "rb")) {
        std::fclose(file);
    } else {
        raise(Unit::CommandLine, kInputMissing, name);
    }
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) raise(Unit::CommandLine, kExtensionMissing, name);
    std::string extension = name.substr(dot);
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (extension != ".xml") raise(Unit::CommandLine, kExtensionNotAllowed, name);
}

namespace {

const ValueOption* findValueOption(const Program& program, std::string_view argument) {
    for (const ValueOption& option : program.valueOptions)
        if (option.name == argument) return &option;
    return nullptr;
}

bool anyOutputNamed(const Program& program, const Settings& settings) {
    for (const ValueOption& option : program.valueOptions)
        if (option.namesOutput && !(settings.*option.value).empty()) return true;
    return false;
}

} // namespace

CommandLineOutcome interpretCommandLine(std::vector<std::string> arguments, Settings& settings,
                                        const Program& program) {
    if (arguments.empty()) return CommandLineOutcome::Usage;
    settings.arguments = expandOptionsFiles(std::move(arguments));
    const std::vector<std::string>& args = settings.arguments;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& argument = args[i];
        const bool hasNext = i + 1 < args.size();
        if (const ValueOption* option = findValueOption(program, argument)) {
            if (!hasNext) raise(Unit::CommandLine, option->missingArgumentCode);
            settings.*option->value = args[++i];
        } else if (argument == "-ndl") {
            settings.noDriveLetter = true;
        } else if (argument == "-f") {
            if (!hasNext) raise(Unit::CommandLine, kOptionFArgument);
            splitPatterns(args[++i], settings.chosenPatterns);
        } else if (argument == "-nf") {
            if (!hasNext) raise(Unit::CommandLine, kOptionNfArgument);
            splitPatterns(args[++i], settings.unchosenPatterns);
        } else if (argument == "-h") {
            return CommandLineOutcome::Usage;
        } else if (argument.empty() || argument[0] == '-') {
            // An empty argument is no input name and no option either.
            raise(Unit::CommandLine, kUnknownOption, argument);
        } else {
            checkInputName(argument);
            settings.inputPositions.push_back(i);
        }
    }
    if (settings.inputPositions.empty()) raise(Unit::CommandLine, kNoInput);
    if (!anyOutputNamed(program, settings)) raise(Unit::CommandLine, program.outputMissingCode);
    return CommandLineOutcome::Run;
}

} // namespace kiv
