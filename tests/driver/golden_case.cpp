#include "driver/golden_case.hpp"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "driver/version.hpp"

namespace kiv::test {

namespace fs = std::filesystem;

std::string optionalFile(const fs::path& path) {
    return fs::exists(path) ? readFile(path.string()) : std::string();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

std::vector<std::string> caseFolders(const fs::path& root) {
    std::vector<std::string> names;
    if (!fs::exists(root)) return names;
    for (const auto& entry : fs::directory_iterator(root))
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string runCase(const fs::path& source, Runner run, ProcessResult& result) {
    const std::string work = makeTempDir();
    for (const auto& entry : fs::directory_iterator(source)) {
        if (entry.is_regular_file())
            fs::copy_file(entry.path(), fs::path(work) / entry.path().filename());
    }
    const std::vector<std::string> args = lines(readFile((source / "args").string()));
    result = run(args, work, "", {"SOURCE_DATE_EPOCH=1700000000"});
    return work;
}

namespace {

std::string withVersion(std::string text) {
    static const std::string placeholder = "@VERSION@";
    for (std::size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at))
        text.replace(at, placeholder.size(), versionText());
    return text;
}

} // namespace

void expectCaseOutcome(const fs::path& source, const std::string& work,
                       const ProcessResult& result) {
    const std::string name = source.filename().string();
    int status = 0;
    if (fs::exists(source / "status")) status = std::stoi(readFile((source / "status").string()));
    EXPECT_EQ(result.status, status) << result.err;
    if (fs::exists(source / "diagnostic")) {
        const auto expected = lines(readFile((source / "diagnostic").string()));
        ASSERT_EQ(expected.size(), 1u);
        EXPECT_EQ(diagnosticMessage(result.err), expected[0]) << result.err;
    } else {
        EXPECT_EQ(result.err, "");
    }

    const fs::path expectedDir = source / "expected";
    if (fs::exists(expectedDir)) {
        for (const auto& entry : fs::directory_iterator(expectedDir)) {
            const std::string output = entry.path().filename().string();
            const std::string expected = withVersion(readFile(entry.path().string()));
            const std::string actual =
                output == "stdout" ? result.out : readFile(work + "/" + output);
            if (output != "stdout") {
                EXPECT_TRUE(fs::exists(work + "/" + output)) << output << " was not written";
            }
            EXPECT_EQ(actual, expected) << "output " << output << " of case " << name;
        }
    }
    if (fs::exists(source / "absent")) {
        for (const std::string& absent : lines(readFile((source / "absent").string())))
            EXPECT_FALSE(fs::exists(work + "/" + absent)) << absent << " must not be written";
    }
}

std::string caseTestName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

} // namespace kiv::test
