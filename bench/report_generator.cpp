// Writes large, realistic kivpost coverage reports for the workloads of
// bench/run_workloads.sh.
//
// The program that a report covers depends on the seed only: its files,
// headers, functions and probes, their lines and descriptions are the same in
// every run. The run number changes the counters (hits, call counts, costs)
// and the generation time, as separate test runs of one program do.
//
//   report_generator --out FILE [--seed N] [--run N] [--size-mb N | --files N]
//                    [--shape program|unit-test|many-functions|long-function|
//                             equal-probes|long-description]
//
// "program" (the default) writes source files until the report reaches
// --size-mb (the number of files is found with run 0, so every run of a seed
// has the same files), each with 10 to 80 functions of 10 to 200 probes of
// every kind: decisions, MC/DC decisions with their condition rows,
// switches, loops, ternaries, constant conditions, exceptions, lambdas; line
// directives at file level (functions of shared headers, met once per
// including source) and inside functions (macro code from a header).
// "unit-test" writes a report of a few KB, as one test executable of a small
// program gives: one or two of its 24 source files, picked by the run, each
// of one to four small functions, with or without shared headers and macro
// code. The other shapes are the pathological ones: one file of 50000 functions, one
// function of 50000 probes, 10000 equal probes on one line, and one probe
// whose description is 1 MB long.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

// --- Deterministic randomness -------------------------------------------

std::uint64_t mix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

std::uint64_t hashOf(std::initializer_list<std::uint64_t> parts) {
    std::uint64_t h = 0x1234567;
    for (const std::uint64_t part : parts)
        h = mix(h ^ part);
    return h;
}

// A stream of numbers seeded from a position in the program.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() { return mix(state_++); }
    // In [low, high].
    std::uint32_t between(std::uint32_t low, std::uint32_t high) {
        return low + static_cast<std::uint32_t>(next() % (high - low + 1));
    }
    bool chance(unsigned percent) { return next() % 100 < percent; }
    template <typename T> const T& pick(const std::vector<T>& items) {
        return items[next() % items.size()];
    }

  private:
    std::uint64_t state_;
};

// --- Output ----------------------------------------------------------------

// Collects the report in a large buffer; counts only when no file is given.
class Output {
  public:
    explicit Output(std::FILE* file) : file_(file) { buffer_.reserve(kBlock + 4096); }
    ~Output() { flush(); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    Output& operator<<(std::string_view text) {
        buffer_.append(text);
        if (buffer_.size() >= kBlock) flush();
        return *this;
    }
    Output& operator<<(std::uint64_t value) { return *this << std::string_view(number(value)); }
    Output& operator<<(std::int64_t value) {
        if (value < 0) {
            *this << "-";
            return *this << static_cast<std::uint64_t>(-value);
        }
        return *this << static_cast<std::uint64_t>(value);
    }
    Output& operator<<(std::uint32_t value) { return *this << std::uint64_t{value}; }
    Output& operator<<(int value) { return *this << std::int64_t{value}; }

    std::uint64_t written() const { return written_ + buffer_.size(); }

    void flush() {
        if (file_ != nullptr && !buffer_.empty()) {
            if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
                std::perror("report_generator: write");
                std::exit(1);
            }
        }
        written_ += buffer_.size();
        buffer_.clear();
    }

  private:
    static constexpr std::size_t kBlock = std::size_t{1} << 20;

    static std::string number(std::uint64_t value) {
        char digits[24];
        const int length =
            std::snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(value));
        return std::string(digits, static_cast<std::size_t>(length));
    }

    std::FILE* file_;
    std::string buffer_;
    std::uint64_t written_ = 0;
};

// --- Vocabulary --------------------------------------------------------------

const std::vector<std::string> kModules = {"core", "net",  "io",   "ui",
                                           "db",   "util", "math", "crypto"};
const std::vector<std::string> kWords = {"buffer", "count",  "state", "limit", "index", "node",
                                         "value",  "result", "flags", "entry", "size",  "ptr",
                                         "length", "offset", "table", "queue", "item",  "key"};
const std::vector<std::string> kTypes = {"int",    "unsigned",      "long",         "char *",
                                         "size_t", "const char *",  "double",       "bool",
                                         "void *", "struct node *", "std::string &"};
const std::vector<std::string> kCompare = {"&gt;", "&lt;", "==", "!=", "&gt;=", "&lt;="};

std::string word(Random& r) {
    return r.pick(kWords) + (r.chance(40) ? "_" + std::to_string(r.between(1, 9)) : "");
}

// A condition as the report shows it (escaped).
std::string condition(Random& r) {
    std::string text = word(r);
    if (r.chance(30)) text = word(r) + "-&gt;" + text;
    return text + " " + r.pick(kCompare) + " " +
           (r.chance(50) ? std::to_string(r.between(0, 100)) : word(r));
}

// --- Probes ------------------------------------------------------------------

struct Counters {
    std::uint64_t seed;
    std::uint32_t run;
};

// What a probe element carries; absent counters are left out of the element.
struct Probe {
    std::string_view type;
    std::uint32_t nesting = 0;
    std::uint32_t line = 0;
    std::string descr;
    int evalNo = -1;
    int scCount = -1;
    bool count1 = false;
    bool count2 = false;
};

class ProbeWriter {
  public:
    ProbeWriter(Output& out, Counters counters) : out_(out), counters_(counters) {}

    // `id` places the probe in the program; its counters follow from it and
    // the run.
    void write(const Probe& probe, std::uint64_t id) {
        Random hits(hashOf({counters_.seed, counters_.run, id}));
        out_ << "\t\t\t<probe type=\"" << probe.type << "\"";
        if (probe.evalNo >= 0) out_ << " eval_no=\"" << probe.evalNo << "\"";
        if (probe.scCount >= 0) out_ << " sc_count=\"" << probe.scCount << "\"";
        out_ << " nesting=\"" << probe.nesting << "\"\n\t\t\t line=\"" << probe.line << "\"";
        if (probe.count1) out_ << " count1=\"" << count(hits) << "\"";
        if (probe.count2) out_ << " count2=\"" << count(hits) << "\"";
        out_ << " descr=\"" << probe.descr << "\" />\n";
    }

    std::uint32_t count(Random& hits) {
        const std::uint64_t roll = hits.next() % 100;
        if (roll < 20) return 0;
        if (roll < 90) return hits.between(1, 999);
        return hits.between(1000, 5000000);
    }

  private:
    Output& out_;
    Counters counters_;
};

// Generates the probes of one function body, from its first line on.
class BodyBuilder {
  public:
    BodyBuilder(std::uint64_t seed, std::uint32_t firstLine) : random_(seed), line_(firstLine) {}

    std::vector<Probe> build(const std::string& name, std::uint32_t probeCount, bool returnsValue) {
        probes_.clear();
        add({.type = "function",
             .nesting = 0,
             .line = line_,
             .descr = name + "()",
             .count1 = true});
        while (probes_.size() + 1 < probeCount)
            statement(1, probeCount);
        line_ += 1;
        if (returnsValue)
            add({.type = "function_end_nr", .nesting = 0, .line = line_, .descr = "}"});
        else
            add({.type = "function_end",
                 .nesting = 0,
                 .line = line_,
                 .descr = "}",
                 .count1 = true});
        return probes_;
    }

    std::uint32_t lastLine() const { return line_; }

  private:
    void add(Probe probe) { probes_.push_back(std::move(probe)); }
    std::uint32_t nextLine() { return line_ += random_.between(1, 3); }
    bool room(std::uint32_t limit, std::size_t needed) const {
        return probes_.size() + needed + 1 < limit;
    }

    void statement(std::uint32_t nesting, std::uint32_t limit) {
        Random& r = random_;
        const std::uint32_t kind = r.between(0, 99);
        if (nesting > 4 || kind < 18) {
            simple(nesting);
        } else if (kind < 34 && room(limit, 3)) {
            decision(nesting, limit);
        } else if (kind < 44 && room(limit, 10)) {
            mcdcDecision(nesting, limit);
        } else if (kind < 52 && room(limit, 6)) {
            switchStatement(nesting);
        } else if (kind < 62 && room(limit, 3)) {
            loop(nesting, limit);
        } else if (kind < 68 && room(limit, 3)) {
            ternaries(nesting);
        } else if (kind < 73 && room(limit, 2)) {
            constCondition(nesting);
        } else if (kind < 78 && room(limit, 4)) {
            tryBlock(nesting);
        } else if (kind < 82 && room(limit, 3)) {
            lambda(nesting);
        } else if (kind < 86 && room(limit, 2)) {
            subConditions(nesting);
        } else if (kind < 90 && room(limit, 2)) {
            jumps(nesting);
        } else {
            simple(nesting);
        }
    }

    void simple(std::uint32_t nesting) {
        Random& r = random_;
        const std::uint32_t line = nextLine();
        switch (r.between(0, 5)) {
        case 0:
            add({.type = "return",
                 .nesting = nesting,
                 .line = line,
                 .descr = "return " + word(r),
                 .count1 = true});
            break;
        case 1:
            add({.type = "user_counter",
                 .nesting = nesting,
                 .line = line,
                 .descr = "COUNT(" + word(r) + ")",
                 .count1 = true});
            break;
        case 2:
            add({.type = "user_annotation",
                 .nesting = nesting,
                 .line = line,
                 .descr = "/* reviewed: " + word(r) + " */"});
            break;
        case 3:
            add({.type = "for_range",
                 .nesting = nesting,
                 .line = line,
                 .descr = "for (auto &amp;" + word(r) + " : " + word(r) + ")",
                 .count1 = true});
            break;
        case 4:
            add({.type = "while_decl",
                 .nesting = nesting,
                 .line = line,
                 .descr = "while (auto " + word(r) + " = next())",
                 .count1 = true});
            break;
        default:
            add({.type = "block_end", .nesting = nesting, .line = line, .descr = "}"});
            break;
        }
    }

    void decision(std::uint32_t nesting, std::uint32_t limit) {
        Random& r = random_;
        add({.type = "if",
             .nesting = nesting,
             .line = nextLine(),
             .descr = "if (" + condition(r) + ")",
             .scCount = static_cast<int>(r.between(1, 4)),
             .count1 = true,
             .count2 = true});
        statement(nesting + 1, limit);
        if (r.chance(40) && room(limit, 2)) {
            add({.type = "else_if",
                 .nesting = nesting,
                 .line = nextLine(),
                 .descr = "else if (" + condition(r) + ")",
                 .count1 = true,
                 .count2 = true});
            statement(nesting + 1, limit);
        }
        if (r.chance(50) && room(limit, 2)) {
            add({.type = "else", .nesting = nesting, .line = nextLine(), .descr = "else"});
            statement(nesting + 1, limit);
        }
    }

    // A decision of two or three conditions with its condition rows, its
    // MC/DC independence pairs and the statement it guards.
    void mcdcDecision(std::uint32_t nesting, std::uint32_t limit) {
        Random& r = random_;
        const std::uint32_t line = nextLine();
        const bool three = r.chance(50);
        const std::string a = condition(r);
        const std::string b = condition(r);
        const std::string c = condition(r);
        add({.type = r.chance(70) ? "if" : "while",
             .nesting = nesting,
             .line = line,
             .descr = (three ? "if ((" + a + ") &amp;&amp; ((" + b + ") || (" + c + ")))"
                             : "if ((" + a + ") &amp;&amp; (" + b + "))"),
             .scCount = static_cast<int>(r.between(1, 3)),
             .count1 = true,
             .count2 = true});
        const std::vector<std::pair<std::string_view, std::string>> rows =
            three ? std::vector<std::pair<std::string_view, std::string>>{{"multi_cond_t",
                                                                           "T &amp;&amp; (T || _)"},
                                                                          {"multi_cond_t",
                                                                           "T &amp;&amp; (F || T)"},
                                                                          {"multi_cond_f",
                                                                           "T &amp;&amp; (F || F)"},
                                                                          {"multi_cond_f",
                                                                           "F &amp;&amp; _"}}
                  : std::vector<std::pair<std::string_view, std::string>>{
                        {"multi_cond_t", "T &amp;&amp; T"},
                        {"multi_cond_f", "T &amp;&amp; F"},
                        {"multi_cond_f", "F &amp;&amp; _"}};
        int evalNo = 1;
        for (const auto& [type, descr] : rows) {
            const bool isTrue = type == "multi_cond_t";
            add({.type = type,
                 .nesting = nesting,
                 .line = line,
                 .descr = descr,
                 .evalNo = evalNo++,
                 .count1 = isTrue,
                 .count2 = !isTrue});
        }
        add({.type = "mcdc",
             .nesting = nesting,
             .line = line,
             .descr = three ? "1: 1 - 4, 2 - 4; 2: 1 - 3; 3: 2 - 3" : "1: 1 - 3; 2: 1 - 2"});
        statement(nesting + 1, limit);
    }

    void switchStatement(std::uint32_t nesting) {
        Random& r = random_;
        add({.type = "switch",
             .nesting = nesting,
             .line = nextLine(),
             .descr = "switch (" + word(r) + ")"});
        const std::uint32_t cases = r.between(2, 4);
        for (std::uint32_t i = 0; i < cases; ++i) {
            add({.type = "case",
                 .nesting = nesting + 1,
                 .line = nextLine(),
                 .descr = "case " + std::to_string(i) + ":",
                 .count1 = true});
            add({.type = "break",
                 .nesting = nesting + 2,
                 .line = nextLine(),
                 .descr = "break",
                 .count1 = true});
        }
        if (r.chance(60))
            add({.type = "default",
                 .nesting = nesting + 1,
                 .line = nextLine(),
                 .descr = "default:",
                 .count1 = true});
        else
            add({.type = "missing_default",
                 .nesting = nesting + 1,
                 .line = nextLine(),
                 .descr = "(missing default)",
                 .count1 = true});
    }

    void loop(std::uint32_t nesting, std::uint32_t limit) {
        Random& r = random_;
        switch (r.between(0, 2)) {
        case 0:
            add({.type = "for",
                 .nesting = nesting,
                 .line = nextLine(),
                 .descr = "for (" + word(r) + " = 0; " + condition(r) + "; ++" + word(r) + ")",
                 .count1 = true,
                 .count2 = true});
            statement(nesting + 1, limit);
            break;
        case 1:
            add({.type = "while",
                 .nesting = nesting,
                 .line = nextLine(),
                 .descr = "while (" + condition(r) + ")",
                 .count1 = true,
                 .count2 = true});
            statement(nesting + 1, limit);
            break;
        default:
            add({.type = "do", .nesting = nesting, .line = nextLine(), .descr = "do"});
            statement(nesting + 1, limit);
            add({.type = "do_while",
                 .nesting = nesting,
                 .line = nextLine(),
                 .descr = "while (" + condition(r) + ")",
                 .count1 = true,
                 .count2 = true});
            break;
        }
    }

    // Two or three ternaries on one line, told apart by their order.
    void ternaries(std::uint32_t nesting) {
        Random& r = random_;
        const std::uint32_t line = nextLine();
        const std::uint32_t count = r.between(2, 3);
        for (std::uint32_t i = 0; i < count; ++i)
            add({.type = "ternary",
                 .nesting = nesting,
                 .line = line,
                 .descr = "(" + condition(r) + ") ? :",
                 .count1 = true,
                 .count2 = true});
    }

    // Constant conditions: with count1 the true outcome counts, without it
    // the false one.
    void constCondition(std::uint32_t nesting) {
        Random& r = random_;
        static const std::vector<std::string_view> kinds = {"const_if", "const_while", "const_for",
                                                            "const_ternary"};
        const bool counted = r.chance(50);
        add({.type = r.pick(kinds),
             .nesting = nesting,
             .line = nextLine(),
             .descr = counted ? "if (1)" : "while (0)",
             .count1 = counted,
             .count2 = !counted});
    }

    void tryBlock(std::uint32_t nesting) {
        Random& r = random_;
        add({.type = "try",
             .nesting = nesting,
             .line = nextLine(),
             .descr = "try",
             .count1 = true});
        add({.type = "throw",
             .nesting = nesting + 1,
             .line = nextLine(),
             .descr = "throw std::runtime_error(&quot;" + word(r) + "&quot;)",
             .count1 = true});
        add({.type = "catch",
             .nesting = nesting,
             .line = nextLine(),
             .descr = "catch (const std::exception &amp;e)",
             .count1 = true});
        add({.type = "return",
             .nesting = nesting + 1,
             .line = nextLine(),
             .descr = "return -1",
             .count1 = true});
    }

    void lambda(std::uint32_t nesting) {
        Random& r = random_;
        add({.type = "lambda",
             .nesting = nesting,
             .line = nextLine(),
             .descr = "[&amp;](" + r.pick(kTypes) + " " + word(r) + ")",
             .count1 = true});
        add({.type = "return",
             .nesting = nesting + 1,
             .line = nextLine(),
             .descr = "return " + word(r),
             .count1 = true});
        if (r.chance(50))
            add({.type = "lambda_end",
                 .nesting = nesting,
                 .line = nextLine(),
                 .descr = "}",
                 .count1 = true});
        else
            add({.type = "lambda_end_nr", .nesting = nesting, .line = nextLine(), .descr = "}"});
    }

    void subConditions(std::uint32_t nesting) {
        Random& r = random_;
        const std::uint32_t line = nextLine();
        add({.type = "expr_andor",
             .nesting = nesting,
             .line = line,
             .descr = "ok = (" + condition(r) + ") || (" + condition(r) + ")",
             .count1 = true,
             .count2 = true});
        add({.type = "sub_cond",
             .nesting = nesting,
             .line = line,
             .descr = condition(r),
             .count1 = true,
             .count2 = true});
    }

    void jumps(std::uint32_t nesting) {
        Random& r = random_;
        const std::string label = "retry_" + std::to_string(r.between(1, 9));
        add({.type = "label", .nesting = nesting, .line = nextLine(), .descr = label + ":"});
        add({.type = r.chance(50) ? "goto" : "continue",
             .nesting = nesting + 1,
             .line = nextLine(),
             .descr = r.chance(50) ? "goto " + label : "continue",
             .count1 = true});
    }

    Random random_;
    std::uint32_t line_;
    std::vector<Probe> probes_;
};

// --- Report ------------------------------------------------------------------

constexpr std::string_view kMode = "multicondition+timing";
constexpr std::string_view kMacroHeader = "C:\\Src\\include\\macros.h";

// How large the parts of a source file are: ranges of counts, and the
// percentage of functions with macro code.
struct Scale {
    std::uint32_t maxHeaders = 3;
    std::uint32_t minFunctions = 10, maxFunctions = 80;
    std::uint32_t minProbes = 10, maxProbes = 200;
    std::uint32_t minHeaderFunctions = 2, maxHeaderFunctions = 6;
    std::uint32_t minHeaderProbes = 10, maxHeaderProbes = 40;
    unsigned macroPercent = 12;
};

// The files of a small program that unit tests cover.
constexpr Scale kUnitTestScale{1, 1, 4, 4, 24, 1, 2, 4, 10, 30};
constexpr std::uint32_t kUnitTestFiles = 24;

struct Settings {
    std::uint64_t seed = 1;
    std::uint32_t run = 0;
    double sizeMb = 10;
    std::uint32_t files = 0; // 0: as many as --size-mb needs
    std::string shape = "program";
    std::string out;
};

class ReportWriter {
  public:
    ReportWriter(Output& out, const Settings& settings, Scale scale = {})
        : out_(out), settings_(settings), scale_(scale),
          probes_(out, {settings.seed, settings.run}) {}

    void header() {
        const std::uint32_t day = 1 + settings_.run % 28;
        out_ << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n\n<kiv_xml_report>\n\n"
             << "<header_info>\n\t<kivpost_version>8.3.1</kivpost_version>\n"
             << "\t<report_generated>Tue Dec " << (day < 10 ? " " : "") << day
             << " 10:" << (settings_.run % 6) << (settings_.run % 10)
             << ":00 2026</report_generated>\n"
             << "\t<requested_coverage_view>As instrumented</requested_coverage_view>\n"
             << "\t<execution_cost_function>clock</execution_cost_function>\n"
             << "\t<execution_cost_type>ticks</execution_cost_type>\n"
             << "\t<execution_cost_scaling>1</execution_cost_scaling>\n</header_info>\n\n"
             << "<kivpost_notices>\n\t<notice>test run " << settings_.run
             << " of the benchmark program</notice>\n</kivpost_notices>\n\n";
    }

    void footer() {
        out_ << "<overall_summary>\n\t<shown_coverage_views>multicondition</shown_coverage_views>\n"
             << "\t<lines>" << lines_ << "</lines>\n\t<measurement_points>" << points_
             << "</measurement_points>\n</overall_summary>\n</kiv_xml_report>\n";
    }

    // One source file of the program: its shared headers, its functions,
    // some with macro code from a header.
    void sourceFile(std::uint32_t index) {
        Random r(hashOf({settings_.seed, 1, index}));
        const std::string name = sourceName(index);
        beginFile(name);
        out_ << "\t<include name=\"#include &lt;stdio.h&gt;\" />\n";
        const std::uint32_t headers = r.between(0, scale_.maxHeaders);
        std::vector<std::uint32_t> included;
        for (std::uint32_t i = 0; i < headers; ++i) {
            const std::uint32_t header = r.between(0, headerCount() - 1);
            included.push_back(header);
            out_ << "\t<include name=\"#include &quot;" << headerName(header) << "&quot;\" />\n";
        }
        std::uint32_t line = r.between(5, 40);
        for (const std::uint32_t header : included) {
            line += 1;
            fileDirective(line, 1, headerName(header));
            headerFunctions(header);
            fileDirective(line, line + 1, name);
        }
        const std::uint32_t functions = r.between(scale_.minFunctions, scale_.maxFunctions);
        for (std::uint32_t f = 0; f < functions; ++f) {
            Random fr(hashOf({settings_.seed, 2, index, f}));
            line += fr.between(3, 20);
            const bool macro = fr.chance(scale_.macroPercent);
            const std::uint32_t probeCount = fr.between(scale_.minProbes, scale_.maxProbes);
            line = function(functionName(index, f, fr), line, probeCount, hashOf({index, f}),
                            macro ? name : std::string());
        }
        endFile(line + 5);
    }

    // A unit test's report: the source file the run picks, and in every
    // fifth run another one.
    void unitTest() {
        const std::uint32_t run = settings_.run;
        sourceFile(run % kUnitTestFiles);
        if (run % 5 == 0) sourceFile((run + 1 + run / 5 % (kUnitTestFiles - 1)) % kUnitTestFiles);
    }

    // One file of 50000 small functions.
    void manyFunctions() {
        beginFile("C:\\Src\\generated\\tables.c");
        std::uint32_t line = 10;
        for (std::uint32_t f = 0; f < 50000; ++f) {
            Random fr(hashOf({settings_.seed, 3, f}));
            line = function("table_entry_" + std::to_string(f), line + 2, fr.between(4, 8),
                            hashOf({7, f}), {});
        }
        endFile(line + 5);
    }

    // One function of 50000 probes.
    void longFunction() {
        beginFile("C:\\Src\\generated\\interpreter.c");
        const std::uint32_t line = function("interpret", 10, 50000, 11, {});
        endFile(line + 5);
    }

    // 10000 probes with one description on one line (a macro expanded many
    // times).
    void equalProbes() {
        beginFile("C:\\Src\\generated\\unrolled.c");
        beginFunction("unrolled", "(void)", 10);
        probes_.write({.type = "function", .line = 10, .descr = "unrolled()", .count1 = true}, 1);
        for (std::uint32_t i = 0; i < 10000; ++i)
            probes_.write({.type = "user_counter",
                           .nesting = 1,
                           .line = 11,
                           .descr = "STEP(x)",
                           .count1 = true},
                          100 + i);
        probes_.write({.type = "function_end", .line = 12, .descr = "}", .count1 = true}, 2);
        points_ += 10002;
        endFunction();
        endFile(20);
    }

    // A probe whose description is 1 MB long.
    void longDescription() {
        beginFile("C:\\Src\\generated\\expression.c");
        beginFunction("evaluate", "(const struct node *n)", 10);
        probes_.write({.type = "function", .line = 10, .descr = "evaluate()", .count1 = true}, 1);
        std::string text = "if (";
        while (text.size() < (std::size_t{1} << 20))
            text += "n-&gt;value_" + std::to_string(text.size() % 97) + " &amp;&amp; ";
        text += "1)";
        probes_.write(
            {.type = "if", .nesting = 1, .line = 11, .descr = text, .count1 = true, .count2 = true},
            2);
        probes_.write({.type = "function_end", .line = 12, .descr = "}", .count1 = true}, 3);
        points_ += 4;
        endFunction();
        endFile(20);
    }

  private:
    std::uint32_t headerCount() const { return 40; }

    static std::string sourceName(std::uint32_t index) {
        return "C:\\Src\\" + kModules[index % kModules.size()] + "\\unit_" + std::to_string(index) +
               (index % 3 == 0 ? ".cpp" : ".c");
    }

    static std::string headerName(std::uint32_t index) {
        return "C:\\Src\\include\\" + kModules[index % kModules.size()] + "_" +
               std::to_string(index) + ".h";
    }

    static std::string functionName(std::uint32_t file, std::uint32_t function, Random& r) {
        std::string name = kModules[file % kModules.size()] + "_" + word(r) + "_" +
                           std::to_string(file) + "_" + std::to_string(function);
        if (r.chance(5)) name = "operator&lt;&lt;";
        return name;
    }

    void beginFile(const std::string& name) {
        out_ << "<file name=\"" << name << "\">\n\t<file_type>source</file_type>\n"
             << "\t<instrumentation_mode>" << kMode << "</instrumentation_mode>\n";
    }

    void endFile(std::uint32_t lines) {
        lines_ += lines;
        out_ << "\t<file_summary>\n\t\t<lines>" << lines << "</lines>\n\t</file_summary>\n"
             << "</file>\n\n";
    }

    void fileDirective(std::uint32_t line, std::uint32_t number, const std::string& file) {
        out_ << "\t<probe type=\"linedir\"\n\t line=\"" << line << "\" descr=\"#line " << number
             << " &quot;" << file << "&quot;\" />\n";
    }

    void beginFunction(const std::string& name, const std::string& parameters, std::uint32_t line) {
        Random calls(hashOf({settings_.seed, settings_.run, 9, line}));
        const std::uint32_t callCount = calls.between(0, 5000);
        const std::uint32_t maxCost = calls.between(1, 900);
        out_ << "\t<function name=\"" << name << "\">\n\t\t<parameters>" << parameters
             << "</parameters>\n\t\t<defined_at_line>" << line
             << "</defined_at_line>\n\t\t<call_count>" << callCount
             << "</call_count>\n\t\t<total_execution_cost>"
             << std::uint64_t{callCount} * maxCost / 2
             << "</total_execution_cost>\n\t\t<max_execution_cost>" << maxCost
             << "</max_execution_cost>\n\t\t<body>\n";
    }

    void endFunction() {
        out_ << "\t\t</body>\n\t\t<function_summary>\n"
             << "\t\t\t<statement_available>yes</statement_available>\n"
             << "\t\t</function_summary>\n\t</function>\n";
    }

    // Writes a function whose body starts at `line`; `macroFile`, when set,
    // is the file the body returns to after a stretch of macro code from a
    // header. Gives the last line of the function.
    std::uint32_t function(const std::string& name, std::uint32_t line, std::uint32_t probeCount,
                           std::uint64_t id, const std::string& macroFile) {
        Random r(hashOf({settings_.seed, 4, id}));
        std::string parameters = "(";
        const std::uint32_t parameterCount = r.between(0, 3);
        for (std::uint32_t i = 0; i < parameterCount; ++i) {
            if (i != 0) parameters += ", ";
            parameters += r.pick(kTypes) + " " + word(r);
        }
        parameters += parameterCount == 0 ? "void)" : ")";
        beginFunction(name, parameters, line);
        BodyBuilder body(hashOf({settings_.seed, 5, id}), line);
        const std::vector<Probe> probes = body.build(name, probeCount, r.chance(30));
        // Macro code stands after the first quarter of the body.
        const std::size_t macroAt = macroFile.empty() ? probes.size() : probes.size() / 4;
        for (std::size_t i = 0; i < probes.size(); ++i) {
            if (i == macroAt) macroCode(probes[i].line, probes[i].nesting, macroFile, id);
            probes_.write(probes[i], hashOf({id, i}));
        }
        points_ += probes.size();
        endFunction();
        return body.lastLine();
    }

    void macroCode(std::uint32_t line, std::uint32_t nesting, const std::string& backTo,
                   std::uint64_t id) {
        Random r(hashOf({settings_.seed, 6, id}));
        const std::uint32_t macroLine = r.between(10, 400);
        probes_.write({.type = "linedir_in_function",
                       .nesting = nesting,
                       .line = line,
                       .descr = "#line " + std::to_string(macroLine) + " &quot;" +
                                std::string(kMacroHeader) + "&quot;"},
                      hashOf({id, 1000001}));
        const std::uint32_t count = r.between(2, 5);
        for (std::uint32_t i = 0; i < count; ++i)
            probes_.write({.type = i % 2 == 0 ? "if" : "return",
                           .nesting = nesting + 1,
                           .line = macroLine + i,
                           .descr = i % 2 == 0 ? "if (CHECK_" + std::to_string(i) + ")"
                                               : "return ERR_" + std::to_string(i),
                           .count1 = true,
                           .count2 = i % 2 == 0},
                          hashOf({id, 1000002 + i}));
        probes_.write({.type = "linedir_in_function",
                       .nesting = nesting,
                       .line = line,
                       .descr = "#line " + std::to_string(line) + " &quot;" + backTo + "&quot;"},
                      hashOf({id, 1000010}));
        points_ += count + 2;
    }

    // The inline functions of a shared header, as every including source
    // shows them.
    void headerFunctions(std::uint32_t header) {
        Random r(hashOf({settings_.seed, 7, header}));
        const std::uint32_t functions =
            r.between(scale_.minHeaderFunctions, scale_.maxHeaderFunctions);
        std::uint32_t line = 5;
        for (std::uint32_t f = 0; f < functions; ++f) {
            line += r.between(2, 8);
            const std::string name =
                "inline_" + kWords[(header + f) % kWords.size()] + "_" + std::to_string(f);
            line = function(name, line, r.between(scale_.minHeaderProbes, scale_.maxHeaderProbes),
                            hashOf({header, f, 77}), {});
        }
    }

    Output& out_;
    const Settings& settings_;
    Scale scale_;
    ProbeWriter probes_;
    std::uint64_t lines_ = 0;
    std::uint64_t points_ = 0;
};

// Writes the report of `files` source files; gives its size.
std::uint64_t writeProgram(std::FILE* file, const Settings& settings, std::uint32_t files) {
    Output out(file);
    ReportWriter report(out, settings);
    report.header();
    for (std::uint32_t i = 0; i < files; ++i)
        report.sourceFile(i);
    report.footer();
    out.flush();
    return out.written();
}

// The number of files that brings run 0 of the seed to the requested size.
std::uint32_t filesForSize(const Settings& settings) {
    const double target = settings.sizeMb * 1024 * 1024;
    Settings first = settings;
    first.run = 0;
    Output out(nullptr);
    ReportWriter report(out, first);
    report.header();
    std::uint32_t files = 0;
    while (static_cast<double>(out.written()) < target)
        report.sourceFile(files++);
    return files == 0 ? 1 : files;
}

[[noreturn]] void usage() {
    std::fputs("usage: report_generator --out FILE [--seed N] [--run N] [--size-mb N | --files N]\n"
               "                        [--shape program|unit-test|many-functions|long-function|"
               "equal-probes|long-description]\n",
               stderr);
    std::exit(2);
}

} // namespace

int main(int argc, char** argv) {
    Settings settings;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (i + 1 >= argc) usage();
        const char* value = argv[++i];
        if (option == "--out")
            settings.out = value;
        else if (option == "--seed")
            settings.seed = std::strtoull(value, nullptr, 10);
        else if (option == "--run")
            settings.run = static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10));
        else if (option == "--size-mb")
            settings.sizeMb = std::strtod(value, nullptr);
        else if (option == "--files")
            settings.files = static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10));
        else if (option == "--shape")
            settings.shape = value;
        else
            usage();
    }
    if (settings.out.empty()) usage();

    std::FILE* file = std::fopen(settings.out.c_str(), "wb");
    if (file == nullptr) {
        std::perror(settings.out.c_str());
        return 1;
    }
    if (settings.shape == "program") {
        const std::uint32_t files = settings.files != 0 ? settings.files : filesForSize(settings);
        writeProgram(file, settings, files);
    } else {
        Output out(file);
        const bool unitTest = settings.shape == "unit-test";
        ReportWriter report(out, settings, unitTest ? kUnitTestScale : Scale{});
        report.header();
        if (unitTest)
            report.unitTest();
        else if (settings.shape == "many-functions")
            report.manyFunctions();
        else if (settings.shape == "long-function")
            report.longFunction();
        else if (settings.shape == "equal-probes")
            report.equalProbes();
        else if (settings.shape == "long-description")
            report.longDescription();
        else
            usage();
        report.footer();
    }
    if (std::fclose(file) != 0) {
        std::perror(settings.out.c_str());
        return 1;
    }
    return 0;
}
