#pragma once

#include "platform/DraftStore.h"
#include "platform/Status.h"

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace kelvrast {

// Writes drafts on a thread of its own, so that the window never waits for the disk. Only the latest request counts:
// one handed over while another is being written replaces any that still waits. Built without threads (the browser
// edition, whose program already runs apart from the page's own thread), a request is carried out as it is handed
// over.
class DraftWriter {
public:
    explicit DraftWriter(DraftStore& store);
    // Carries out what still waits, then ends the thread.
    ~DraftWriter();
    DraftWriter(const DraftWriter&) = delete;
    DraftWriter& operator=(const DraftWriter&) = delete;

    // The file is to hold these bytes.
    void keep(std::filesystem::path fileName, std::string bytes);
    // The file is to go.
    void remove(std::filesystem::path fileName);
    // Blocks until every request handed over so far is carried out.
    void waitUntilDone();
    // Whether a request waits or is being carried out.
    bool busy();
    // The first failure since the last call, if any.
    std::optional<Status> takeFailure();

private:
    struct Request {
        std::filesystem::path fileName;
        std::optional<std::string> bytes; // nothing: remove the file
    };

    void handOver(Request request);
    void run();
    Status store(const Request& request);
    // Without a thread: the request at once, on the caller's thread.
    void carryOut(const Request& request);

    DraftStore& store_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::optional<Request> waiting_;
    bool writing_ = false;
    bool stopping_ = false;
    std::optional<Status> failure_;
    std::thread thread_; // last, so that it starts once everything it uses is made; none without threads
};

} // namespace kelvrast
