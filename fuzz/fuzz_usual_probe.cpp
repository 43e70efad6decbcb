// The one-pass reading of probes in the usual form against the general
// reading. The input holds the first line's attribute text, a line feed,
// then the second line. Whatever the one-pass reading accepts, the general
// one must read to the same record without a fault.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "reader/attributes.hpp"
#include "reader/probe_record.hpp"
#include "reader/usual_probe.hpp"

namespace {

bool sameRecord(const kiv::ProbeRecord& a, const kiv::ProbeRecord& b) {
    return a.type == b.type && a.typeName == b.typeName && a.probeLine == b.probeLine &&
           a.sourceLine == b.sourceLine && a.directiveLine == b.directiveLine &&
           a.sequence == b.sequence && a.counters == b.counters &&
           a.outcomeClass == b.outcomeClass && a.nesting == b.nesting && a.scCount == b.scCount &&
           a.description == b.description && a.context == b.context && a.owner == b.owner &&
           a.partFunction == b.partFunction;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t feed = bytes.find('\n');
    if (feed == std::string_view::npos) return 0;
    const std::string_view first = bytes.substr(0, feed);
    const std::string_view second = bytes.substr(feed + 1);

    kiv::UsualProbe usual;
    if (!kiv::readUsualProbe(first, second, usual)) return 0;
    kiv::ProbeRecord fast;
    kiv::fillUsualRecord(usual, fast);

    kiv::ProbeAttributes attributes;
    kiv::ProbeTexts texts;
    if (!kiv::splitProbeAttributes(first, second, attributes) ||
        kiv::takeProbeTexts(attributes, texts) != kiv::ProbeFault::None)
        std::abort(); // accepted in one pass, a fault for the general reading
    kiv::ProbeRecord general;
    kiv::fillProbeRecord(texts, general);
    if (!sameRecord(fast, general)) std::abort();
    return 0;
}
