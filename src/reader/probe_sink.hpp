#pragma once

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "model/large_memory.hpp"
#include "model/records.hpp"
#include "reader/probe_lines.hpp"
#include "reader/probe_record.hpp"
#include "reader/usual_probe.hpp"

namespace kiv {

class CoverageFile;
class CoverageFunction;
class LineReader;

// Hands the probes of function bodies to the model in report order. While a
// run reads its reports, a second thread merges them (finds each probe's
// match, or stores it), one batch of probes behind the reading; it also
// reads and converts the usual probes that it gets as their lines, while it
// keeps up. Everything else the reader tells the model stays on the reading
// thread: what the merging thread touches (the probes of a function, its
// statement coverage, the texts of probes) nothing else touches until the
// merging is finished.
class ProbeSink {
  public:
    ProbeSink() = default;
    ProbeSink(const ProbeSink&) = delete;
    ProbeSink& operator=(const ProbeSink&) = delete;
    // Lets the merging thread finish what it has; never throws.
    ~ProbeSink();

    // From now on probes are merged on a second thread (at once when no
    // thread can be started).
    void startThread();
    // Waits until everything handed over is merged and ends the thread;
    // throws what merging threw. Probes are merged at once afterwards.
    void finish();
    // The same, for a reading that failed: the exception merging threw, if
    // any (it happened before the reading failure), or null.
    std::exception_ptr finishAfterFailure() noexcept;

    // Merges probe into function after everything handed over before. The
    // record's content may be taken; it keeps storage for the next probe.
    void addProbe(CoverageFunction& function, ProbeRecord& probe);
    // The same for a probe given as the texts of its attributes (which the
    // merging thread turns into its record): the reading thread only copies
    // them.
    void addProbe(CoverageFunction& function, const ProbeTexts& texts);
    // The same for a plain probe read in the usual form (see UsualProbe).
    void addProbe(CoverageFunction& function, const UsualProbe& probe);
    // Whether probes may be handed over as their lines: while the merging
    // thread runs and keeps up with the reading.
    bool takesLines() const { return filling_ != nullptr && linesWanted_; }
    // The same for a plain probe of the usual shape given as its two lines
    // (see BodyProbeLines): the merging thread reads them where they lie in
    // the reader's buffer (see takeLinesFrom()). A probe that cannot be read
    // ends the run there, after everything before it. False, and nothing
    // done, when the probe is not taken (no merging thread, no reader given,
    // or a line of 4 GiB).
    bool addProbeLines(CoverageFunction& function, std::string_view first, std::string_view second);
    // The reader whose buffer the lines given to addProbeLines() lie in:
    // they are handed over where they lie, the batch holding the buffer.
    void takeLinesFrom(LineReader& reader) { lineReader_ = &reader; }
    // The report whose probes come next, named in the diagnostics of the
    // merging thread.
    void setInputName(std::string_view name);
    // The size of the report whose probes come next (0: not known). Batches
    // of a small report are small: what is handed over, and the read buffers
    // it holds, then follow the size of the report, not the number of them.
    void setReportSize(std::uint64_t bytes) {
        batchBytes_ = bytes == 0
                          ? kBatchBytes
                          : std::clamp<std::uint64_t>(bytes / 16, kSmallestBatch, kBatchBytes);
    }
    // The function's statement coverage becomes unavailable, in the same order.
    void markStatementUnavailable(CoverageFunction& function);

  private:
    // A batch is the probes packed one after the other: each a kind, a fixed
    // head, then bytes of text. The reading thread writes it front to back
    // and the merging thread reads it so, which keeps what goes from one
    // processor's cache to the other small.
    enum class Kind : std::uint8_t {
        Record,               // Head, description, context
        Texts,                // a probe's texts (see below)
        StatementUnavailable, // the function only
        Lines,                // the function, the sizes of both lines, where they lie
        Input,                // the size of a report's name, the name
        Usual,                // a probe read in the usual form (see below)
    };
    struct Head {
        CoverageFunction* function;
        CoverageFile* owner;
        CoverageFunction* partFunction;
        std::uint32_t probeLine;
        std::uint32_t sourceLine;
        std::uint32_t directiveLine;
        std::uint32_t sequence;
        std::array<std::uint32_t, 2> counters;
        std::uint32_t outcomeClass;
        std::uint32_t nesting;
        std::uint32_t scCount;
        std::size_t descriptionSize;
        std::size_t contextSize;
        std::uint8_t type;
    };
    // A Texts entry: the function, the keyword, the size of the description
    // (std::size_t), which texts are there (std::uint8_t, the bits of
    // ProbeTexts::present but the description's), whether the description
    // holds entities (bool), the size of every text there but the
    // description (std::uint8_t each), then those texts and the description.
    // Every field is written and read alone.
    static constexpr std::size_t kShortText = 255; // longer numbers go as a record
    // A Usual entry: the function, the keyword, nesting, line, both counters
    // and sc_count (std::uint32_t each), whether count1 was given and
    // whether the description holds entities (bool each, the description
    // is written unescaped: false), the sizes of eval_no (std::uint8_t) and
    // of the description (std::uint32_t), then both texts.

    struct Batch {
        LargeMemory memory; // capacity bytes, the first used of them written
        std::size_t capacity = 0;
        std::size_t used = 0;
        // The read buffers that Lines entries point into, held by the
        // reading thread alone (it drops them once the batch is merged);
        // their bytes pointed at, and the buffer held last.
        std::vector<std::shared_ptr<const void>> buffers;
        std::size_t lineBytes = 0;
        const void* lastBuffer = nullptr;
        char* bytes() const { return reinterpret_cast<char*>(memory.get()); }
    };
    static constexpr std::size_t kBatchBytes = std::size_t{1} << 19; // at most
    static constexpr std::size_t kSmallestBatch = std::size_t{1} << 14;
    static constexpr std::size_t kQueued = 4; // batches waiting at most
    static constexpr std::size_t kBehind = 2; // batches waiting: the merging falls behind

    // Merges the probes of a batch, in order; record is working storage,
    // last the function that got the probe before (null at first).
    void apply(const Batch& batch, ProbeRecord& record, CoverageFunction*& last);
    // Reads the Texts entry after its kind at `at` into texts and function;
    // gives where the next entry begins.
    static std::size_t readTexts(const char* bytes, std::size_t at, ProbeTexts& texts,
                                 CoverageFunction*& function);
    // The same for a Usual entry.
    static std::size_t readUsual(const char* bytes, std::size_t at, UsualProbe& probe,
                                 CoverageFunction*& function);
    // Room for size more bytes at the end of the batch being filled.
    char* reserve(std::size_t size) {
        Batch& batch = *filling_;
        if (batch.capacity - batch.used < size) grow(size);
        return batch.bytes() + batch.used;
    }
    void grow(std::size_t size);
    // The batch has grown by size bytes; full, it goes to the merging thread.
    void commit(std::size_t size) {
        filling_->used += size;
        if (filling_->used >= batchBytes_ || filling_->lineBytes >= batchBytes_) handOver();
    }
    // The batch being filled goes to the merging thread.
    void handOver();
    // Waits until the thread is idle with nothing queued, then ends it.
    void stopThread() noexcept;
    void run();

    std::thread thread_;
    std::unique_ptr<Batch> filling_; // while the thread runs
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<Batch>> queued_;
    std::vector<std::unique_ptr<Batch>> spare_;
    bool merging_ = false; // the thread works on a batch
    bool stopping_ = false;
    bool linesWanted_ = true;    // the reading thread's only
    std::exception_ptr failure_; // what merging threw; later batches are dropped
    ProbeRecord record_;         // texts made into a record without the thread
    std::string unescaped_;      // a description unescaped for the merging thread
    BodyProbeLines lines_;       // the merging thread's only
    LineReader* lineReader_ = nullptr;
    std::size_t batchBytes_ = kBatchBytes; // a batch this full is handed over
};

} // namespace kiv
