#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/probe_type.hpp"
#include "model/records.hpp"
#include "reader/usual_probe.hpp"

namespace kiv {

class Coverage;
class CoverageFile;
class CoverageFunction;
class FileFilter;
class ProbeSink;
struct ProbeTexts;

// Follows the line directives of one file element and decides which file of
// the model receives its functions and probes. Code between functions that a
// directive names as coming from a header goes to that header file; header
// code met inside a function goes to a header part of its own (one per
// including file, function and header), recorded under a pseudo function.
class HeaderWalk {
  public:
    // Probes go to the model through sink.
    HeaderWalk(const FileFilter& filter, ProbeSink& sink) : filter_(filter), sink_(sink) {}

    // A file element begins: everything of the previous one is forgotten.
    void beginFile(Coverage& coverage);
    // The file element ends.
    void endFile() { forget(); }

    // The file element's own file, known from its file type.
    void setSourceFile(CoverageFile& file) { source_ = &file; }
    CoverageFile* sourceFile() const { return source_; }
    // The file element's instrumentation mode, handed on to its headers.
    void setInstrumentationMode(std::string_view mode) { mode_.assign(mode); }

    // A probe between functions: a line directive.
    void fileLevelDirective(std::uint32_t line, std::string_view description);

    // A function element begins: the header that will announce it, for the
    // file that receives it.
    FunctionHeader beginFunction(std::string name);
    // The function's body begins: the function is announced with header.
    void beginBody(const FunctionHeader& header);
    // A probe of the body; description is its raw "descr" text. The probe's
    // line must be in both its probe line and source line. The record's
    // content is taken.
    void addBodyProbe(ProbeRecord& probe, std::string_view description);
    // A probe of the body that is neither a ternary probe nor a line
    // directive, which the walk needs not look at: its texts go on as read.
    void addPlainProbe(const ProbeTexts& texts);
    // The same for a probe given as its two lines (see BodyProbeLines), which
    // the sink splits: taken when its leading type shows a plain probe and
    // the body has a function to receive it. False leaves the probe to be
    // split here.
    bool addPlainProbeLines(std::string_view first, std::string_view second);
    // The same for the two lines of a probe read in the usual form (see
    // UsualProbe): taken when they are in that form and show a plain probe.
    // False leaves the probe to the general reading.
    bool addUsualProbe(std::string_view first, std::string_view second);
    // Whether a probe of type goes by addPlainProbe(): the walk looks at
    // ternary probes and line directives only.
    static bool isPlain(std::uint8_t type) {
        return type != kTernary && type != kLinedirInFunction;
    }
    // The same for a type as written (a text that names no type is plain:
    // reading the probe ends the run).
    static bool isPlainTypeText(std::string_view text) {
        return text != probeTypeName(kTernary) && text != probeTypeName(kLinedirInFunction);
    }
    // The body ends; header code still open carries over to the next function.
    void endBody();

  private:
    void forget();
    // Makes the header named by a directive the current file.
    void switchToHeader(std::string_view name, bool insideFunction);
    void inFunctionDirective(ProbeRecord& probe, std::string_view description);
    // Into function; dropped when there is none.
    void addProbe(CoverageFunction* function, ProbeRecord& probe);
    // The function that receives a probe of the body: the header part's
    // pseudo function while header code is read, else the body's own; null
    // when there is none.
    CoverageFunction* bodyTarget() const {
        return headerPart_ != nullptr ? partFunction_ : bodyFunction_;
    }
    void numberTernary(ProbeRecord& probe);

    const FileFilter& filter_;
    ProbeSink& sink_;
    Coverage* coverage_ = nullptr;
    CoverageFile* source_ = nullptr;     // the file element's own file
    CoverageFile* current_ = nullptr;    // receives the next functions
    CoverageFile* headerPart_ = nullptr; // receives probes of header code in a body
    std::string mode_;
    bool pending_ = false;    // a directive in a body led away from its file
    std::string pendingName_; // the header it named
    std::uint32_t directiveLine_ = 0;
    std::uint32_t directiveNumber_ = 0;
    FunctionHeader function_; // the function whose body is being read
    // The model's functions that receive the probes of the body: the
    // function itself, and the pseudo function of the header part, as the
    // files find them.
    CoverageFunction* bodyFunction_ = nullptr;
    CoverageFunction* partFunction_ = nullptr;
    UsualProbe usual_; // the probe read last in the usual form
    bool ternarySeen_ = false;
    std::uint32_t ternaryLine_ = 0;
    std::uint32_t ternarySequence_ = 0;
};

} // namespace kiv
