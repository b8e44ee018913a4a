#include "browse/ThumbnailPool.h"

#include "browse/ThumbnailMaker.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <sys/resource.h>
#include <unistd.h>

namespace orvo {

namespace {
// Repaints ask again for what they still miss; an old request beyond this
// many is no longer on screen.
constexpr size_t kMaxPreferred = 4096;
constexpr int kWorkerNice = 10;
} // namespace

ThumbnailPool::ThumbnailPool(unsigned threads, Maker maker)
    : threadLimit_(threads ? threads : std::clamp(std::thread::hardware_concurrency(), 1u, 4u)),
      maker_(maker ? std::move(maker) : Maker(MakeThumbnail)) {}

ThumbnailPool::~ThumbnailPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_)
        t.join();
}

ThumbnailPool& ThumbnailPool::Shared() {
    static ThumbnailPool pool;
    return pool;
}

int ThumbnailPool::AddClient(Sink sink) {
    std::lock_guard lock(mutex_);
    const int id = nextClient_++;
    clients_[id].sink = std::move(sink);
    return id;
}

void ThumbnailPool::RemoveClient(int client) {
    std::unique_lock lock(mutex_);
    auto it = clients_.find(client);
    if (it == clients_.end())
        return;
    it->second.order.clear();
    it->second.preferred.clear();
    it->second.queued.clear();
    finished_.wait(lock, [&] { return it->second.running == 0; });
    clients_.erase(it);
}

void ThumbnailPool::Restart(int client, uint64_t generation, int edge,
                            std::vector<std::string> paths) {
    std::lock_guard lock(mutex_);
    auto it = clients_.find(client);
    if (it == clients_.end())
        return;
    Client& c = it->second;
    c.generation = generation;
    c.edge = edge;
    c.preferred.clear();
    c.queued.clear();
    c.order.clear();
    for (std::string& p : paths)
        if (c.queued.insert(p).second)
            c.order.push_back(std::move(p));
    StartThreadsFor(c.order.size());
    wake_.notify_all();
}

void ThumbnailPool::Prefer(int client, const std::string& path) {
    std::lock_guard lock(mutex_);
    auto it = clients_.find(client);
    if (it == clients_.end() || !it->second.queued.count(path))
        return;
    std::vector<std::string>& preferred = it->second.preferred;
    if (preferred.size() >= kMaxPreferred)
        preferred.erase(preferred.begin(), preferred.begin() + kMaxPreferred / 2);
    preferred.push_back(path);
}

void ThumbnailPool::Request(int client, const std::string& path) {
    std::lock_guard lock(mutex_);
    auto it = clients_.find(client);
    if (it == clients_.end())
        return;
    Client& c = it->second;
    if (!c.queued.insert(path).second)
        return;
    c.order.push_front(path);
    StartThreadsFor(c.queued.size());
    wake_.notify_one();
}

size_t ThumbnailPool::Pending(int client) const {
    std::lock_guard lock(mutex_);
    auto it = clients_.find(client);
    return it == clients_.end() ? 0 : it->second.queued.size();
}

void ThumbnailPool::StartThreadsFor(size_t jobs) {
    // Threads are made when there is work and kept for the next directory.
    size_t wanted = std::min<size_t>(jobs, threadLimit_);
    while (threads_.size() < wanted && static_cast<size_t>(idleThreads_) < jobs)
        threads_.emplace_back([this] { Work(); });
}

bool ThumbnailPool::TakeJob(Job& job) {
    if (clients_.empty())
        return false;
    // The clients in turn, starting after the one served last.
    auto start = clients_.upper_bound(lastServed_);
    for (size_t n = 0; n < clients_.size(); ++n, ++start) {
        if (start == clients_.end())
            start = clients_.begin();
        Client& c = start->second;
        if (c.queued.empty())
            continue;
        std::string path;
        while (!c.preferred.empty() && path.empty()) {
            if (c.queued.count(c.preferred.back()))
                path = std::move(c.preferred.back());
            c.preferred.pop_back();
        }
        while (path.empty() && !c.order.empty()) {
            if (c.queued.count(c.order.front()))
                path = std::move(c.order.front());
            c.order.pop_front();
        }
        if (path.empty())
            continue;
        c.queued.erase(path);
        ++c.running;
        lastServed_ = start->first;
        job = {start->first, c.generation, c.edge, std::move(path)};
        return true;
    }
    return false;
}

void ThumbnailPool::Work() {
    // Thumbnails are background work: the interface thread (and whatever
    // else the user runs) goes first. Linux gives each thread its own nice.
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, 0);
    if (errno == 0)
        setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), std::min(nice + kWorkerNice, 19));
    std::unique_lock lock(mutex_);
    for (;;) {
        Job job;
        ++idleThreads_;
        wake_.wait(lock, [&] { return stopping_ || TakeJob(job); });
        --idleThreads_;
        if (stopping_ && job.client == 0)
            return;
        Sink* sink = &clients_[job.client].sink;
        lock.unlock();
        Result result;
        result.generation = job.generation;
        result.path = job.path;
        try {
            result.outcome = maker_(job.path, job.edge, result.picture, &result.message);
        } catch (const std::exception&) {
            // A maker that fails this way leaves the row its icon.
            result.outcome = GuardedLoad::UseIcon;
            result.picture.Destroy();
        }
        (*sink)(std::move(result));
        lock.lock();
        Client& c = clients_[job.client];
        if (--c.running == 0)
            finished_.notify_all();
    }
}

} // namespace orvo
