#pragma once

#include <string>
#include <string_view>

#include "reader/attributes.hpp"
#include "reader/element_table.hpp"
#include "reader/first_value_map.hpp"
#include "reader/line_reader.hpp"

namespace kiv {

// Reads the element lines of a report in the four forms in which its
// sections are written and keeps what a line holds until a reading step takes
// it: the current element (against which the steps test), the attribute map
// and the element text map. The maps keep the first value stored under a key
// until a reading step empties them; they outlive a single report.
//
// Every malformed line ends the run with a reader diagnostic naming the
// current report.
class ElementScanner {
  public:
    explicit ElementScanner(LineReader& reader) : reader_(reader) {}

    // The report named in diagnostics.
    void setInputName(std::string_view name) { inputName_.assign(name); }
    const std::string& inputName() const { return inputName_; }

    // A line cut to its element and not interpreted further (the report's
    // first lines). Valid until the next read.
    std::string_view readCutLine();

    // A line "<tag>text</tag>": the tag becomes the current element and the
    // pair (tag, text) is stored; "<parameters>" text is unescaped. The text
    // runs to the next "<", so a line without a closing tag keeps all of it.
    void readTextElement();
    // A line between file elements: "<file name=...>" is split into its
    // attributes, any other line is stored whole with an empty text.
    void readFileSectionElement();
    // A line of a file element outside functions: probes (two lines),
    // includes and functions are split into attributes, other lines are text
    // elements.
    void readFileBodyElement();
    // A line of a function body: a probe (two lines) is split into attributes,
    // any other line is stored whole with an empty text.
    void readFunctionBodyElement();
    // The same, but a probe of the usual shape (see usualProbe()) is left as
    // its two lines until splitUsualProbe() splits it (or the lines are
    // taken elsewhere: usualProbeLines()). Nothing else is read between.
    void readFunctionBodyLines();
    void splitUsualProbe();
    // The attribute text of the first line of the usual probe just read
    // (after "<probe ") and its second line. Valid until the next read.
    struct ProbeLines {
        std::string_view first;
        std::string_view second;
    };
    ProbeLines usualProbeLines() const {
        return {usual_.first().substr(element::kProbe.size() + 1), usual_.second()};
    }

    void skipSeparator() { reader_.skipSeparator(); }

    // Whether the current element holds text anywhere.
    bool contains(std::string_view text) const {
        return currentElement().find(text) != std::string_view::npos;
    }
    std::string_view currentElement() const { return usualProbe_ ? element::kProbe : current_; }

    FirstValueMap& attributes() { return attributes_; }
    // The attributes of the probe just read by readFunctionBodyElement() when
    // they were split without the attribute map (which then stays empty);
    // null when they are in the map.
    const ProbeAttributes* probeAttributes() const {
        return probeSplit_ ? &probeAttributes_ : nullptr;
    }
    // Whether the line just read by readFunctionBodyElement() was a probe of
    // the usual shape, split into probeAttributes() (or left unsplit by
    // readFunctionBodyLines()); its element is "<probe".
    bool usualProbe() const { return usualProbe_; }
    FirstValueMap& texts() { return texts_; }
    void clearMaps() {
        attributes_.clear();
        texts_.clear();
    }

    // The value of a required attribute or element text; its absence ends the
    // run as a malformed report. Valid until the map is changed.
    std::string_view requireAttribute(std::string_view name) const;
    std::string_view requireText(std::string_view tag) const;

    // Ends the run: the report does not have the expected shape.
    [[noreturn]] void notAReport(int sourceLine = __builtin_LINE()) const;

  private:
    // The next line cut to its element; raw_ keeps the line from the same
    // start to its end.
    std::string_view readCut();
    std::string_view cut(std::string_view line, bool secondProbeLine);
    void setCurrent(std::string_view element) {
        current_.assign(element);
        usualProbe_ = false;
    }
    void textElement(std::string_view line);
    void wholeLine(std::string_view line);
    // Splits at the first blank into tag and attribute text; closeTag turns
    // the last ">" of the attribute text into " />".
    void attributeElement(std::string_view line, bool closeTag);
    // How far the first line of a probe element lets it be split without the
    // attribute map.
    enum class ProbeStart {
        General, // in the attribute map
        Cut,     // a body probe cut the general way: its two lines joined
        Usual,   // "<probe " and its attributes (see usualFirstProbeLine)
    };
    // line is the first line of a probe: joins the second one to it. A probe
    // of a function body is split into probeAttributes_ when the attribute
    // map is empty; a probe of the usual shape where its two lines lie.
    void probeElement(std::string_view firstLine, ProbeStart start);
    // A probe's lines joined by a blank, split as start allows.
    void joinedProbe(std::string_view first, std::string_view second, ProbeStart start);

    LineReader& reader_;
    std::string inputName_;
    std::string current_; // a copy: the line buffer is reused by every read
                          // (not kept for a usual probe: its element is known)
    std::string_view raw_;
    FirstValueMap attributes_;
    FirstValueMap texts_;
    ProbeAttributes probeAttributes_;
    bool probeSplit_ = false; // the last probe is in probeAttributes_
    bool usualProbe_ = false; // ... and was of the usual shape
    bool unsplit_ = false;    // a usual probe waits for splitUsualProbe()
    // The lines of a usual probe, where the reader holds them: addresses
    // and sizes apart, written and read one by one (a view written as two
    // halves and read whole at once makes the processor wait).
    class UsualLines {
      public:
        void set(std::string_view first, std::string_view second) {
            firstData_ = first.data();
            firstSize_ = first.size();
            secondData_ = second.data();
            secondSize_ = second.size();
        }
        std::string_view first() const { return {firstData_, firstSize_}; }
        std::string_view second() const { return {secondData_, secondSize_}; }

      private:
        const char* firstData_ = nullptr;
        const char* secondData_ = nullptr;
        std::size_t firstSize_ = 0;
        std::size_t secondSize_ = 0;
    };
    UsualLines usual_;
    std::string joined_; // a probe's two lines
    std::string closed_; // attribute text with " />" in place of ">"
};

} // namespace kiv
