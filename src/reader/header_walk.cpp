#include "reader/header_walk.hpp"

#include "model/coverage.hpp"
#include "model/file_identity.hpp"
#include "model/probe_type.hpp"
#include "reader/attributes.hpp"
#include "reader/directive.hpp"
#include "reader/probe_sink.hpp"

namespace kiv {

namespace {

// The pseudo function under which a header part keeps its probes.
constexpr std::string_view kPseudoName = "N.A.";
constexpr std::string_view kPseudoParameters = "( )";

} // namespace

void HeaderWalk::beginFile(Coverage& coverage) {
    forget();
    coverage_ = &coverage;
}

void HeaderWalk::forget() {
    source_ = nullptr;
    current_ = nullptr;
    headerPart_ = nullptr;
    bodyFunction_ = nullptr;
    partFunction_ = nullptr;
    mode_.clear();
    pending_ = false;
    pendingName_.clear();
    directiveLine_ = 0;
    directiveNumber_ = 0;
    function_ = FunctionHeader{};
    ternarySeen_ = false;
}

void HeaderWalk::switchToHeader(std::string_view name, bool insideFunction) {
    const bool noDriveLetter = filter_.noDriveLetter();
    const std::string display = displayName(name, noDriveLetter);
    current_ = &coverage_->findOrCreateFile(normaliseName(name, noDriveLetter), kHeaderFile,
                                            display, filter_.isChosen(display));
    current_->addInstrumentationMode(mode_);
    if (current_ != source_) {
        current_->addIncluder(source_->displayName, insideFunction);
        source_->addIncludedHeader(current_->displayName);
    } else {
        // The directive leads back to the file element's own file.
        pending_ = false;
        pendingName_.clear();
    }
}

void HeaderWalk::fileLevelDirective(std::uint32_t line, std::string_view description) {
    const Directive directive = parseDirective(description);
    directiveLine_ = line;
    directiveNumber_ = directive.number;
    switchToHeader(directive.name, false);
}

FunctionHeader HeaderWalk::beginFunction(std::string name) {
    if (current_ == nullptr) {
        current_ = source_;
    } else if (pending_) {
        // The previous body ended inside header code: this function belongs
        // to that header.
        const std::string header = pendingName_;
        switchToHeader(header, true);
    }
    FunctionHeader header;
    header.file = current_;
    header.name = std::move(name);
    header.directiveProbeLine = directiveLine_;
    header.directiveNumber = directiveNumber_;
    directiveLine_ = 0;
    directiveNumber_ = 0;
    return header;
}

void HeaderWalk::beginBody(const FunctionHeader& header) {
    function_ = header;
    headerPart_ = nullptr;
    partFunction_ = nullptr;
    ternarySeen_ = false;
    header.file->addFunction(header.name, header.definedAtLine, header.parameters, header);
    // The body's file is the current file: no directive in a body changes it.
    bodyFunction_ =
        current_->findFunction(function_.name, function_.definedAtLine, function_.parameters);
}

void HeaderWalk::endBody() {
    headerPart_ = nullptr;
    bodyFunction_ = nullptr;
    partFunction_ = nullptr;
    directiveLine_ = 0;
}

void HeaderWalk::numberTernary(ProbeRecord& probe) {
    probe.sequence = ternarySeen_ && ternaryLine_ == probe.sourceLine ? ternarySequence_ + 1 : 0;
    ternarySeen_ = true;
    ternaryLine_ = probe.sourceLine;
    ternarySequence_ = probe.sequence;
}

void HeaderWalk::addProbe(CoverageFunction* function, ProbeRecord& probe) {
    if (function != nullptr) sink_.addProbe(*function, probe);
}

void HeaderWalk::addPlainProbe(const ProbeTexts& texts) {
    if (CoverageFunction* function = bodyTarget()) sink_.addProbe(*function, texts);
}

bool HeaderWalk::addPlainProbeLines(std::string_view first, std::string_view second) {
    CoverageFunction* function = bodyTarget();
    if (function == nullptr) return false; // the faults of a dropped probe still count
    const std::optional<std::string_view> type = leadingType(first);
    if (!type || !isPlainTypeText(*type)) return false;
    return sink_.addProbeLines(*function, first, second);
}

bool HeaderWalk::addUsualProbe(std::string_view first, std::string_view second) {
    if (!readUsualProbe(first, second, usual_) || !isPlain(usual_.keyword->code)) return false;
    // A probe of no function is dropped: in this form it has no fault.
    if (CoverageFunction* function = bodyTarget()) sink_.addProbe(*function, usual_);
    return true;
}

void HeaderWalk::addBodyProbe(ProbeRecord& probe, std::string_view description) {
    if (probe.type == kTernary) numberTernary(probe);
    if (probe.type == kLinedirInFunction) {
        inFunctionDirective(probe, description);
        return;
    }
    probe.directiveLine = 0;
    addProbe(bodyTarget(), probe);
}

void HeaderWalk::inFunctionDirective(ProbeRecord& probe, std::string_view description) {
    const Directive directive = parseDirective(description);
    const bool noDriveLetter = filter_.noDriveLetter();
    const std::string key = normaliseName(directive.name, noDriveLetter);
    if (key != current_->key) {
        // The code now comes from a header: into a header part of its own.
        pending_ = true;
        pendingName_.assign(directive.name);
        const std::string display = displayName(directive.name, noDriveLetter);
        std::string partKey = current_->key;
        partKey += '_';
        partKey += function_.name;
        partKey += function_.parameters;
        partKey += '_';
        partKey += std::to_string(function_.definedAtLine);
        partKey += '_';
        partKey += key;
        headerPart_ =
            &coverage_->findOrCreateFile(partKey, kHeaderPart, display, filter_.isChosen(display));
        if (headerPart_->headerKey.empty()) headerPart_->headerKey = key;
        headerPart_->addInstrumentationMode(mode_);
        headerPart_->addIncluder(current_->displayName, true);
        // The lists of header parts keep every spelling the reports use, even
        // where the part itself kept the one it was first met under.
        current_->addHeaderPart(display, function_.name, function_.definedAtLine,
                                function_.parameters);

        FunctionHeader pseudo;
        pseudo.file = current_;
        pseudo.name = function_.name;
        pseudo.definedAtLine = function_.definedAtLine;
        pseudo.parameters = function_.parameters;
        headerPart_->addFunction(std::string(kPseudoName), 0, std::string(kPseudoParameters),
                                 pseudo);
        partFunction_ = headerPart_->findFunction(kPseudoName, 0, kPseudoParameters);

        if (directiveLine_ == 0) directiveLine_ = probe.sourceLine;
        probe.probeLine = directiveLine_;
        probe.owner = headerPart_;
    } else {
        // Back in the function's own file.
        pending_ = false;
        pendingName_.clear();
        headerPart_ = nullptr;
        directiveLine_ = 0;
        probe.probeLine = directive.number;
        probe.owner = current_;
    }
    probe.directiveLine = directive.number;
    addProbe(bodyFunction_, probe);
}

} // namespace kiv
