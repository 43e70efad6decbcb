#include "reader/probe_lines.hpp"

namespace kiv {

void BodyProbeLines::toRecord(std::string_view first, std::string_view second,
                              ProbeRecord& record) {
    if (readUsualProbe(first, second, usual_)) {
        fillUsualRecord(usual_, record);
        return;
    }
    ProbeFault fault = ProbeFault::None;
    if (splitProbeAttributes(first, second, attributes_)) {
        fault = takeProbeTexts(attributes_, texts_);
    } else {
        // The ways the scanner goes when the lines cannot be split apart:
        // joined by a blank, then through the attribute map.
        joined_.assign(first);
        joined_ += ' ';
        joined_ += second;
        if (splitProbeAttributes(joined_, attributes_)) {
            fault = takeProbeTexts(attributes_, texts_);
        } else {
            map_.clear();
            if (!splitAttributes(joined_, map_)) raiseUnsplittable(inputName_, diagnostic_);
            fault = takeProbeTexts(map_, texts_);
        }
    }
    if (fault != ProbeFault::None) raiseProbeFault(fault, inputName_, diagnostic_);
    fillProbeRecord(texts_, record);
}

} // namespace kiv
