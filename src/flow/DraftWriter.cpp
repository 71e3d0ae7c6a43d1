#include "flow/DraftWriter.h"

namespace kelvrast {

#ifdef KELVRAST_WITHOUT_THREADS
DraftWriter::DraftWriter(DraftStore& store) : store_(store) {}
#else
DraftWriter::DraftWriter(DraftStore& store) : store_(store), thread_([this] { run(); }) {}
#endif

DraftWriter::~DraftWriter() {
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void DraftWriter::keep(std::filesystem::path fileName, std::string bytes) {
    handOver({std::move(fileName), std::move(bytes)});
}

void DraftWriter::remove(std::filesystem::path fileName) {
    handOver({std::move(fileName), std::nullopt});
}

void DraftWriter::handOver(Request request) {
    if (!thread_.joinable()) {
        carryOut(request);
        return;
    }
    {
        std::lock_guard lock(mutex_);
        waiting_ = std::move(request);
    }
    wake_.notify_one();
}

void DraftWriter::waitUntilDone() {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return !waiting_ && !writing_; });
}

bool DraftWriter::busy() {
    std::lock_guard lock(mutex_);
    return waiting_ || writing_;
}

std::optional<Status> DraftWriter::takeFailure() {
    std::lock_guard lock(mutex_);
    return std::exchange(failure_, std::nullopt);
}

Status DraftWriter::store(const Request& request) {
    return request.bytes ? store_.replace(request.fileName, *request.bytes) : store_.remove(request.fileName);
}

void DraftWriter::carryOut(const Request& request) {
    Status outcome = store(request);
    if (!outcome.ok() && !failure_)
        failure_ = std::move(outcome);
}

// The lock is held only to take a request and to leave its outcome, never while the disk works.
void DraftWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return waiting_ || stopping_; });
        if (!waiting_)
            return;
        Request request = std::move(*waiting_);
        waiting_.reset();
        writing_ = true;
        lock.unlock();
        Status outcome = store(request);
        lock.lock();
        writing_ = false;
        if (!outcome.ok() && !failure_)
            failure_ = std::move(outcome);
        if (!waiting_)
            done_.notify_all();
    }
}

} // namespace kelvrast
