#include "reader/probe_sink.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <utility>

#include "model/coverage_file.hpp"
#include "model/coverage_function.hpp"
#include "model/probe_type.hpp"
#include "reader/line_reader.hpp"
#include "reader/unescape.hpp"

namespace kiv {

namespace {

// Copies text to out; gives the end of the copy. An empty view may hold no
// address, which memcpy must not get.
char* put(char* out, std::string_view text) {
    if (!text.empty()) std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

template <typename Value> char* put(char* out, const Value& value) {
    std::memcpy(out, &value, sizeof value);
    return out + sizeof value;
}

template <typename Value> std::size_t get(const char* bytes, std::size_t at, Value& value) {
    std::memcpy(&value, bytes + at, sizeof value);
    return at + sizeof value;
}

} // namespace

ProbeSink::~ProbeSink() {
    stopThread();
}

void ProbeSink::apply(const Batch& batch, ProbeRecord& record, CoverageFunction*& last) {
    const char* const bytes = batch.bytes();
    std::size_t at = 0;
    ProbeTexts texts;
    UsualProbe usual;
    while (at < batch.used) {
        Kind kind;
        std::memcpy(&kind, bytes + at, sizeof kind);
        at += sizeof kind;
        CoverageFunction* function = nullptr;
        if (kind == Kind::Lines) {
            std::uint32_t firstSize = 0;
            std::uint32_t secondSize = 0;
            at = get(bytes, at, function);
            at = get(bytes, at, firstSize);
            at = get(bytes, at, secondSize);
            const char* firstData = nullptr;
            const char* secondData = nullptr;
            at = get(bytes, at, firstData);
            at = get(bytes, at, secondData);
            const std::string_view first(firstData, firstSize);
            const std::string_view second(secondData, secondSize);
            lines_.toRecord(first, second, record);
        } else if (kind == Kind::Usual) {
            at = readUsual(bytes, at, usual, function);
            fillUsualRecord(usual, record);
        } else if (kind == Kind::Texts) {
            at = readTexts(bytes, at, texts, function);
            fillProbeRecord(texts, record);
        } else if (kind == Kind::Input) {
            std::size_t size = 0;
            at = get(bytes, at, size);
            lines_.setInputName(std::string_view(bytes + at, size));
            at += size;
            continue;
        } else {
            Head head;
            std::memcpy(&head, bytes + at, sizeof head);
            at += sizeof head;
            if (kind == Kind::StatementUnavailable) {
                head.function->statementAvailable = "no";
                continue;
            }
            record.type = head.type;
            record.typeName = probeTypeName(head.type);
            record.description.assign(bytes + at, head.descriptionSize);
            at += head.descriptionSize;
            record.context.assign(bytes + at, head.contextSize);
            at += head.contextSize;
            record.probeLine = head.probeLine;
            record.sourceLine = head.sourceLine;
            record.directiveLine = head.directiveLine;
            record.sequence = head.sequence;
            record.counters = head.counters;
            record.outcomeClass = head.outcomeClass;
            record.nesting = head.nesting;
            record.scCount = head.scCount;
            record.owner = head.owner;
            record.partFunction = head.partFunction;
            function = head.function;
        }
        // Functions come one after the other (a header part's pseudo function
        // alternating with the function it is read in): a function left has
        // its probe map trimmed on this thread, which allocated it.
        if (function != last) {
            if (last != nullptr) last->endOfBody();
            last = function;
        }
        function->addProbe(std::move(record));
    }
}

void ProbeSink::startThread() {
    if (thread_.joinable()) return;
    stopping_ = false;
    failure_ = nullptr;
    linesWanted_ = true;
    filling_ = std::make_unique<Batch>();
    try {
        thread_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        filling_.reset(); // no thread: merge at once
    }
}

void ProbeSink::grow(std::size_t size) {
    Batch& batch = *filling_;
    // A batch that is full goes to the merging thread, so that only an entry
    // larger than the rest grows it past twice the usual size. Its memory is
    // left untouched until written: what a batch never holds costs nothing.
    const std::size_t capacity = std::max(2 * batchBytes_, batch.used + size);
    LargeMemory memory = allocateLarge(capacity);
    if (batch.used != 0) std::memcpy(memory.get(), batch.memory.get(), batch.used);
    batch.memory = std::move(memory);
    batch.capacity = capacity;
}

void ProbeSink::addProbe(CoverageFunction& function, ProbeRecord& probe) {
    if (!filling_) {
        function.addProbe(std::move(probe));
        return;
    }
    // The first function of a header part is looked up here: only this
    // thread adds functions.
    CoverageFunction* partFunction = nullptr;
    if (probe.owner != nullptr && probe.owner->type == kHeaderPart &&
        !probe.owner->functionMap.empty())
        partFunction = probe.owner->functionMap.begin()->second.get();
    Head head; // every field is set; the padding is copied as it is
    head.function = &function;
    head.owner = probe.owner;
    head.partFunction = partFunction;
    head.probeLine = probe.probeLine;
    head.sourceLine = probe.sourceLine;
    head.directiveLine = probe.directiveLine;
    head.sequence = probe.sequence;
    head.counters = probe.counters;
    head.outcomeClass = probe.outcomeClass;
    head.nesting = probe.nesting;
    head.scCount = probe.scCount;
    head.descriptionSize = probe.description.size();
    head.contextSize = probe.context.size();
    head.type = probe.type;
    const std::size_t size =
        sizeof(Kind) + sizeof head + probe.description.size() + probe.context.size();
    char* out = put(reserve(size), Kind::Record);
    out = put(out, head);
    out = put(out, std::string_view(probe.description));
    put(out, std::string_view(probe.context));
    commit(size);
}

void ProbeSink::addProbe(CoverageFunction& function, const ProbeTexts& texts) {
    constexpr std::uint32_t kShort = (1U << ProbeTexts::Description) - 1;
    const std::uint32_t shortPresent = texts.present & kShort;
    std::size_t size = sizeof(Kind) + sizeof(CoverageFunction*) + sizeof(const ProbeKeyword*) +
                       sizeof(std::size_t) + 2;
    bool fits = true;
    for (std::uint32_t t = 0; t < ProbeTexts::Description; ++t) {
        if ((shortPresent & (1U << t)) == 0) continue;
        size += 1 + texts.size[t];
        fits = fits && texts.size[t] <= kShortText;
    }
    if (!filling_ || !fits) {
        fillProbeRecord(texts, record_);
        addProbe(function, record_);
        return;
    }
    const std::string_view description = texts.text(ProbeTexts::Description);
    size += description.size();
    char* out = put(reserve(size), Kind::Texts);
    out = put(out, &function);
    out = put(out, texts.keyword);
    out = put(out, description.size());
    out = put(out, static_cast<std::uint8_t>(shortPresent));
    out = put(out, texts.escaped);
    for (std::uint32_t t = 0; t < ProbeTexts::Description; ++t)
        if ((shortPresent & (1U << t)) != 0)
            out = put(out, static_cast<std::uint8_t>(texts.size[t]));
    for (std::uint32_t t = 0; t < ProbeTexts::Description; ++t)
        if ((shortPresent & (1U << t)) != 0)
            out = put(out, texts.text(static_cast<ProbeTexts::Text>(t)));
    put(out, description);
    commit(size);
}

void ProbeSink::addProbe(CoverageFunction& function, const UsualProbe& probe) {
    constexpr std::size_t kLongest = UINT32_MAX;
    if (!filling_ || probe.description.size() > kLongest || probe.evalNo.size() > kShortText) {
        fillUsualRecord(probe, record_);
        addProbe(function, record_);
        return;
    }
    // The reading thread hands over probes read so when the merging thread
    // falls behind: it takes the unescaping of the description too.
    std::string_view description = probe.description;
    if (probe.escaped) {
        unescapeInto(probe.description, unescaped_);
        description = unescaped_;
    }
    const std::size_t size = sizeof(Kind) + sizeof(CoverageFunction*) +
                             sizeof(const ProbeKeyword*) + 6 * sizeof(std::uint32_t) + 3 +
                             probe.evalNo.size() + description.size();
    char* out = put(reserve(size), Kind::Usual);
    out = put(out, &function);
    out = put(out, probe.keyword);
    out = put(out, probe.nesting);
    out = put(out, probe.line);
    out = put(out, probe.counters[0]);
    out = put(out, probe.counters[1]);
    out = put(out, probe.scCount);
    out = put(out, probe.hasCount1);
    out = put(out, false); // no entity left
    out = put(out, static_cast<std::uint8_t>(probe.evalNo.size()));
    out = put(out, static_cast<std::uint32_t>(description.size()));
    out = put(out, probe.evalNo);
    put(out, description);
    commit(size);
}

std::size_t ProbeSink::readUsual(const char* bytes, std::size_t at, UsualProbe& probe,
                                 CoverageFunction*& function) {
    std::uint8_t evalNoSize = 0;
    std::uint32_t size = 0;
    at = get(bytes, at, function);
    at = get(bytes, at, probe.keyword);
    at = get(bytes, at, probe.nesting);
    at = get(bytes, at, probe.line);
    at = get(bytes, at, probe.counters[0]);
    at = get(bytes, at, probe.counters[1]);
    at = get(bytes, at, probe.scCount);
    at = get(bytes, at, probe.hasCount1);
    at = get(bytes, at, probe.escaped);
    at = get(bytes, at, evalNoSize);
    at = get(bytes, at, size);
    probe.evalNo = std::string_view(bytes + at, evalNoSize);
    at += evalNoSize;
    probe.description = std::string_view(bytes + at, size);
    return at + size;
}

std::size_t ProbeSink::readTexts(const char* bytes, std::size_t at, ProbeTexts& texts,
                                 CoverageFunction*& function) {
    std::size_t descriptionSize = 0;
    std::uint8_t shortPresent = 0;
    at = get(bytes, at, function);
    at = get(bytes, at, texts.keyword);
    at = get(bytes, at, descriptionSize);
    at = get(bytes, at, shortPresent);
    at = get(bytes, at, texts.escaped);
    texts.present = shortPresent | (1U << ProbeTexts::Description);
    for (std::uint32_t t = 0; t < ProbeTexts::Description; ++t) {
        std::uint8_t size = 0;
        if ((shortPresent & (1U << t)) != 0) at = get(bytes, at, size);
        texts.size[t] = size;
    }
    texts.size[ProbeTexts::Description] = descriptionSize;
    for (std::uint32_t t = 0; t <= ProbeTexts::Description; ++t) {
        texts.data[t] = bytes + at;
        at += texts.size[t];
    }
    return at;
}

bool ProbeSink::addProbeLines(CoverageFunction& function, std::string_view first,
                              std::string_view second) {
    constexpr std::size_t kLongest = UINT32_MAX;
    if (!filling_ || lineReader_ == nullptr || first.size() > kLongest || second.size() > kLongest)
        return false;
    Batch& batch = *filling_;
    if (batch.lastBuffer != lineReader_->bufferId()) {
        batch.buffers.push_back(lineReader_->holdBuffer());
        batch.lastBuffer = lineReader_->bufferId();
    }
    batch.lineBytes += first.size() + second.size();
    const std::size_t size = sizeof(Kind) + sizeof(CoverageFunction*) + 2 * sizeof(std::uint32_t) +
                             2 * sizeof(const char*);
    char* out = put(reserve(size), Kind::Lines);
    out = put(out, &function);
    out = put(out, static_cast<std::uint32_t>(first.size()));
    out = put(out, static_cast<std::uint32_t>(second.size()));
    out = put(out, first.data());
    put(out, second.data());
    commit(size);
    return true;
}

void ProbeSink::setInputName(std::string_view name) {
    if (!filling_) {
        lines_.setInputName(name);
        return;
    }
    const std::size_t size = sizeof(Kind) + sizeof(std::size_t) + name.size();
    char* out = put(reserve(size), Kind::Input);
    out = put(out, name.size());
    put(out, name);
    commit(size);
}

void ProbeSink::markStatementUnavailable(CoverageFunction& function) {
    if (!filling_) {
        function.statementAvailable = "no";
        return;
    }
    Head head{};
    head.function = &function;
    char* out = put(reserve(sizeof(Kind) + sizeof head), Kind::StatementUnavailable);
    put(out, head);
    commit(sizeof(Kind) + sizeof head);
}

void ProbeSink::handOver() {
    std::unique_lock lock(mutex_);
    if (queued_.size() >= kQueued) {
        // Rather than wait, touch the next page the merging thread's model
        // will grow into.
        lock.unlock();
        prepareLargeMemory();
        lock.lock();
    }
    changed_.wait(lock, [this] { return queued_.size() < kQueued || failure_; });
    if (failure_) std::rethrow_exception(failure_);
    queued_.push_back(std::move(filling_));
    // The merging thread falling behind leaves the splitting of the next
    // batch to the reading thread.
    linesWanted_ = queued_.size() < kBehind;
    // The read buffers of merged batches are free again.
    for (const std::unique_ptr<Batch>& merged : spare_) {
        merged->buffers.clear();
        merged->lastBuffer = nullptr;
        merged->lineBytes = 0;
    }
    if (spare_.empty()) {
        filling_ = std::make_unique<Batch>();
    } else {
        filling_ = std::move(spare_.back());
        spare_.pop_back();
    }
    filling_->used = 0;
    lock.unlock();
    changed_.notify_all();
}

void ProbeSink::run() {
    ProbeRecord record;
    // Functions are not deleted while reports are read, and the thread ends
    // with the reading.
    CoverageFunction* last = nullptr;
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !queued_.empty() || stopping_; });
        if (queued_.empty()) return;
        std::unique_ptr<Batch> batch = std::move(queued_.front());
        queued_.pop_front();
        if (!failure_) {
            merging_ = true;
            lock.unlock();
            std::exception_ptr failure;
            try {
                apply(*batch, record, last);
            } catch (...) {
                failure = std::current_exception();
            }
            lock.lock();
            merging_ = false;
            if (failure) failure_ = failure;
        }
        spare_.push_back(std::move(batch));
        changed_.notify_all();
    }
}

void ProbeSink::stopThread() noexcept {
    if (!thread_.joinable()) return;
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return queued_.empty() && !merging_; });
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
    filling_.reset();
    for (const std::unique_ptr<Batch>& merged : spare_)
        merged->buffers.clear(); // the read buffers are free again
    releaseLargeMemory();        // the model grows no more
}

void ProbeSink::finish() {
    if (std::exception_ptr failure = finishAfterFailure()) std::rethrow_exception(failure);
}

std::exception_ptr ProbeSink::finishAfterFailure() noexcept {
    if (!thread_.joinable()) return nullptr;
    if (filling_ && filling_->used != 0) {
        std::unique_lock lock(mutex_);
        if (!failure_) queued_.push_back(std::move(filling_));
    }
    changed_.notify_all();
    stopThread();
    return failure_;
}

} // namespace kiv
