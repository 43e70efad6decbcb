#include "reader/probe_sink.hpp"

#include <system_error>
#include <utility>

#include "model/coverage_function.hpp"

namespace kiv {

ProbeSink::~ProbeSink() {
    stopThread();
}

void ProbeSink::apply(Item& item) {
    if (item.statementUnavailable) {
        item.function->statementAvailable = "no";
    } else {
        item.function->addProbe(std::move(item.record));
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

ProbeSink::Item& ProbeSink::nextItem() {
    Batch& batch = *filling_;
    if (batch.used == batch.items.size()) batch.items.emplace_back();
    Item& item = batch.items[batch.used++];
    return item;
}

void ProbeSink::addProbe(CoverageFunction& function, ProbeRecord& probe) {
    if (!filling_) {
        function.addProbe(std::move(probe));
        return;
    }
    Item& item = nextItem();
    item.function = &function;
    item.statementUnavailable = false;
    std::swap(item.record, probe);
    if (filling_->used == kBatchSize) handOver();
}

void ProbeSink::markStatementUnavailable(CoverageFunction& function) {
    if (!filling_) {
        function.statementAvailable = "no";
        return;
    }
    Item& item = nextItem();
    item.function = &function;
    item.statementUnavailable = true;
    if (filling_->used == kBatchSize) handOver();
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
                for (std::size_t i = 0; i < batch->used; ++i)
                    apply(batch->items[i]);
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
