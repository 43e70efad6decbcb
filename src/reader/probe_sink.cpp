#include "reader/probe_sink.hpp"

#include <algorithm>
#include <cstring>
#include <system_error>
#include <utility>

#include "model/coverage_file.hpp"
#include "model/coverage_function.hpp"
#include "model/probe_type.hpp"

namespace kiv {

ProbeSink::~ProbeSink() {
    stopThread();
}

void ProbeSink::apply(const Batch& batch, ProbeRecord& record, CoverageFunction*& last) {
    std::size_t at = 0;
    while (at < batch.used) {
        Head head;
        std::memcpy(&head, batch.bytes.data() + at, sizeof head);
        at += sizeof head;
        if (head.statementUnavailable) {
            head.function->statementAvailable = "no";
            continue;
        }
        record.type = head.type;
        record.typeName = probeTypeName(head.type);
        record.description.assign(batch.bytes.data() + at, head.descriptionSize);
        at += head.descriptionSize;
        record.context.assign(batch.bytes.data() + at, head.contextSize);
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
        // Functions come one after the other (a header part's pseudo function
        // alternating with the function it is read in): a function left has
        // its probe map trimmed on this thread, which allocated it.
        if (head.function != last) {
            if (last != nullptr) last->endOfBody();
            last = head.function;
        }
        head.function->addProbe(std::move(record));
    }
}

void ProbeSink::startThread() {
    if (thread_.joinable()) return;
    stopping_ = false;
    failure_ = nullptr;
    filling_ = std::make_unique<Batch>();
    try {
        thread_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        filling_.reset(); // no thread: merge at once
    }
}

void ProbeSink::append(const Head& head, std::string_view description, std::string_view context) {
    Batch& batch = *filling_;
    const std::size_t size = sizeof head + description.size() + context.size();
    // Grown in large steps: growing fills the new bytes.
    if (batch.bytes.size() < batch.used + size)
        batch.bytes.resize(std::max(2 * kBatchBytes, batch.used + size));
    char* out = batch.bytes.data() + batch.used;
    std::memcpy(out, &head, sizeof head);
    // An empty view may hold no address, which memcpy must not get.
    if (!description.empty())
        std::memcpy(out + sizeof head, description.data(), description.size());
    if (!context.empty())
        std::memcpy(out + sizeof head + description.size(), context.data(), context.size());
    batch.used += size;
    if (batch.used >= kBatchBytes) handOver();
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
    head.statementUnavailable = false;
    append(head, probe.description, probe.context);
}

void ProbeSink::markStatementUnavailable(CoverageFunction& function) {
    if (!filling_) {
        function.statementAvailable = "no";
        return;
    }
    Head head{};
    head.function = &function;
    head.statementUnavailable = true;
    append(head, {}, {});
}

void ProbeSink::handOver() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queued_.size() < kQueued || failure_; });
    if (failure_) std::rethrow_exception(failure_);
    queued_.push_back(std::move(filling_));
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
