#pragma once

namespace kiv {

class CoverageFile;
class CoverageFunction;
class XmlOutput;

// The file element of one chosen source or header file: type, mode, include
// lines, its function elements and its file summary, then a blank line.
void writeFileBlock(const CoverageFile& file, XmlOutput& out);

// The function element of one function. Its execution costs are written only
// when the file being written measures them.
void writeFunctionBlock(const CoverageFunction& function, XmlOutput& out);

} // namespace kiv
