#pragma once

#include "image/LoadImageGuarded.h"
#include "image/RasterImage.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

namespace orvo {

// A few worker threads (never more than the machine has cores) that make
// thumbnails for the browse windows, so that decoding never holds up the
// window. Each window is a client with its own queue; the threads serve the
// clients in turn, a client's preferred paths (the rows on screen) first.
class ThumbnailPool {
public:
    struct Result {
        uint64_t generation = 0; // of the Restart the job came from
        std::string path;
        GuardedLoad outcome = GuardedLoad::UseIcon;
        RasterImage picture;
        std::string message; // for Damaged
    };
    // Makes one thumbnail; called on the worker threads.
    using Maker = std::function<GuardedLoad(const std::string& path, int edge, RasterImage& out,
                                            std::string* message)>;
    // Receives a finished job; called on a worker thread.
    using Sink = std::function<void(Result&&)>;

    // threads 0: as many as the machine has cores, at most four.
    explicit ThumbnailPool(unsigned threads = 0, Maker maker = {});
    ThumbnailPool(const ThumbnailPool&) = delete;
    ThumbnailPool& operator=(const ThumbnailPool&) = delete;
    // Finishes the jobs under way and stops the threads.
    ~ThumbnailPool();

    // The pool of the program, making thumbnails with MakeThumbnail.
    static ThumbnailPool& Shared();

    int AddClient(Sink sink);
    // Drops the client's queue and waits for its jobs under way; the sink is
    // never called again once this returns.
    void RemoveClient(int client);
    // Replaces the client's queue with the paths, made at edge pixels and
    // reported with the generation. No paths: just stops the client's work.
    void Restart(int client, uint64_t generation, int edge, std::vector<std::string> paths);
    // Moves a queued path ahead of the others (the most recent request first).
    void Prefer(int client, const std::string& path);
    // Asks for a path once more in the current generation, ahead of the
    // others (a thumbnail the window let go of and needs again).
    void Request(int client, const std::string& path);
    // Paths of the client still queued (not counting those under way).
    size_t Pending(int client) const;
    unsigned ThreadLimit() const { return threadLimit_; }

private:
    struct Client {
        Sink sink;
        uint64_t generation = 0;
        int edge = 0;
        std::deque<std::string> order;
        std::vector<std::string> preferred;
        std::unordered_set<std::string> queued;
        int running = 0;
    };
    struct Job {
        int client = 0;
        uint64_t generation = 0;
        int edge = 0;
        std::string path;
    };

    void Work();
    bool TakeJob(Job& job);            // with the lock held
    void StartThreadsFor(size_t jobs); // with the lock held

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    std::map<int, Client> clients_;
    std::vector<std::thread> threads_;
    unsigned threadLimit_;
    int nextClient_ = 1;
    int lastServed_ = 0;
    int idleThreads_ = 0;
    bool stopping_ = false;
    Maker maker_;
};

} // namespace orvo
