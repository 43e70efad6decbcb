#include "driver/output.hpp"

#include <fstream>
#include <memory>

#include "diagnostics/raise.hpp"

namespace kiv {

void writeOutput(const std::string& name, std::ostream& standardOutput,
                 const std::function<void(std::ostream&)>& write, DiagnosticRecord& record) {
    if (name == "-") {
        write(standardOutput);
        standardOutput.flush();
        if (!standardOutput) raiseWith(record, Unit::Output, kOutputWrite, name);
        return;
    }
    constexpr std::size_t kBufferSize = 1 << 20;
    auto buffer = std::make_unique_for_overwrite<char[]>(kBufferSize);
    std::ofstream file;
    file.rdbuf()->pubsetbuf(buffer.get(), kBufferSize);
    file.open(name, std::ios::out | std::ios::trunc | std::ios::binary);
    if (!file.is_open()) raiseWith(record, Unit::Output, kOutputOpen, name);
    write(file);
    file.close();
    if (file.fail()) raiseWith(record, Unit::Output, kOutputWrite, name);
}

} // namespace kiv
