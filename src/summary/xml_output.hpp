#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace kiv {

// Builds the summary report line by line in one reused buffer and hands it to
// the stream in large blocks. Every line ends with a line feed.
class XmlOutput {
  public:
    explicit XmlOutput(std::ostream& out);
    // Hands over the complete lines still buffered (a report cut short by an
    // error keeps what was written before it).
    ~XmlOutput();
    XmlOutput(const XmlOutput&) = delete;
    XmlOutput& operator=(const XmlOutput&) = delete;

    // A whole line after `tabs` tab characters.
    void line(unsigned tabs, std::string_view text);
    void emptyLine();

    // <tag>value</tag> after `tabs` tabs; the value as stored, escaped, as an
    // unsigned or signed decimal, or with one decimal ("%.1f").
    void element(unsigned tabs, std::string_view tag, std::string_view value);
    void escapedElement(unsigned tabs, std::string_view tag, std::string_view value);
    void element(unsigned tabs, std::string_view tag, std::uint32_t value);
    void signedElement(unsigned tabs, std::string_view tag, std::int32_t value);
    void fixedElement(unsigned tabs, std::string_view tag, double value);
    void emptyElement(unsigned tabs, std::string_view tag);

    // The line being built, after `tabs` tabs; endLine() completes it.
    std::string& begin(unsigned tabs);
    void endLine();

    // Writes the rest and flushes the stream.
    void finish();

  private:
    void open(unsigned tabs, std::string_view tag);
    void close(std::string_view tag);

    std::ostream& out_;
    std::string text_;
    std::size_t complete_ = 0; // bytes of text_ that end with a whole line
};

} // namespace kiv
