// One input report through reading, finishing and the writers of both
// programs.
#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path =
        kiv::fuzz::writeScratch("one.xml", {reinterpret_cast<const char*>(data), size});
    kiv::fuzz::runAndCheck({path}, {"-p", "-", "-x", "-"}, true);
    return 0;
}
