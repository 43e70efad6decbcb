// Two reports merged: the input is cut at the first line holding only
// "=====" (or in the middle when there is none), and the halves are read in
// order, the first one twice.
#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::size_t cut = bytes.find("\n=====\n");
    std::string_view first;
    std::string_view second;
    if (cut == std::string_view::npos) {
        first = bytes.substr(0, size / 2);
        second = bytes.substr(size / 2);
    } else {
        first = bytes.substr(0, cut + 1);
        second = bytes.substr(cut + 7);
    }
    const std::string a = kiv::fuzz::writeScratch("first.xml", first);
    const std::string b = kiv::fuzz::writeScratch("second.XML", second);
    kiv::fuzz::runAndCheck({a, b, a}, {"-x", "-", "-p", "-", "-ndl", "-nf", "*.h"}, true);
    return 0;
}
