#pragma once

#include <string>
#include <string_view>

#include "diagnostics/diagnostic_record.hpp"
#include "model/records.hpp"
#include "reader/attributes.hpp"
#include "reader/first_value_map.hpp"
#include "reader/probe_record.hpp"
#include "reader/usual_probe.hpp"

namespace kiv {

// Makes the record of a body probe of the usual shape from its two lines as
// read: the attribute text of the first line (after "<probe ") and the
// second line. It reads them in one pass when they are in the usual form
// (see UsualProbe); else it splits them as the element scanner would and
// checks them as the reader would, so that the merging thread can take this work off the
// reading thread. A probe that cannot be read ends the run with the same
// diagnostic as the reader's, composed in a record of its own.
class BodyProbeLines {
  public:
    // The report named in diagnostics.
    void setInputName(std::string_view name) { inputName_.assign(name); }

    void toRecord(std::string_view first, std::string_view second, ProbeRecord& record);

  private:
    std::string inputName_;
    ProbeAttributes attributes_;
    FirstValueMap map_; // for a probe the splitter declines
    ProbeTexts texts_;
    UsualProbe usual_;
    std::string joined_;
    DiagnosticRecord diagnostic_;
};

} // namespace kiv
