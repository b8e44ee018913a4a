#include "browse/ThumbnailPool.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <stdexcept>
#include <thread>

using namespace orvo;

namespace {

// A maker that records what it was asked and, while held, keeps every job
// waiting, so the tests decide what is queued when work starts.
struct FakeMaker {
    std::mutex mutex;
    std::condition_variable changed;
    bool held = true;
    int running = 0, mostAtOnce = 0;
    std::vector<std::string> order;

    GuardedLoad Make(const std::string& path, int edge, RasterImage& out, std::string* message) {
        std::unique_lock lock(mutex);
        order.push_back(path);
        mostAtOnce = std::max(mostAtOnce, ++running);
        changed.notify_all();
        changed.wait(lock, [&] { return !held; });
        --running;
        if (path == "throws")
            throw std::runtime_error("decoder failure");
        if (path == "damaged") {
            *message = "damaged!";
            return GuardedLoad::Damaged;
        }
        out.Create(edge, edge / 2, 24);
        return GuardedLoad::Loaded;
    }
    void WaitForStarted(size_t n) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return order.size() >= n; });
    }
    void Release() {
        std::lock_guard lock(mutex);
        held = false;
        changed.notify_all();
    }
};

struct Collected {
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<ThumbnailPool::Result> results;

    ThumbnailPool::Sink Sink() {
        return [this](ThumbnailPool::Result&& r) {
            std::lock_guard lock(mutex);
            results.push_back(std::move(r));
            arrived.notify_all();
        };
    }
    bool WaitFor(size_t n) {
        std::unique_lock lock(mutex);
        return arrived.wait_for(lock, std::chrono::seconds(20),
                                [&] { return results.size() >= n; });
    }
};

ThumbnailPool::Maker MakerOf(FakeMaker& fake) {
    return [&fake](const std::string& p, int edge, RasterImage& out, std::string* message) {
        return fake.Make(p, edge, out, message);
    };
}

} // namespace

TEST(ThumbnailPool, RowsOnScreenFirstThenTheListingOrder) {
    FakeMaker fake;
    ThumbnailPool pool(1, MakerOf(fake));
    Collected got;
    const int client = pool.AddClient(got.Sink());
    pool.Restart(client, 7, 96, {"p0", "p1", "p2", "p3", "p4", "p1"});
    fake.WaitForStarted(1);
    pool.Prefer(client, "p3");
    pool.Prefer(client, "p4");
    pool.Prefer(client, "p0");      // already under way
    pool.Prefer(client, "missing"); // never queued
    EXPECT_EQ(pool.Pending(client), 4u);
    fake.Release();
    ASSERT_TRUE(got.WaitFor(5));
    EXPECT_EQ(fake.order, (std::vector<std::string>{"p0", "p4", "p3", "p1", "p2"}));
    for (const ThumbnailPool::Result& r : got.results) {
        EXPECT_EQ(r.generation, 7u);
        EXPECT_EQ(r.outcome, GuardedLoad::Loaded);
        EXPECT_EQ(r.picture.Width(), 96);
    }
    EXPECT_EQ(pool.Pending(client), 0u);

    // A path asked for again is made again, in the same generation.
    pool.Request(client, "p2");
    ASSERT_TRUE(got.WaitFor(6));
    EXPECT_EQ(got.results[5].path, "p2");
    EXPECT_EQ(got.results[5].generation, 7u);
    pool.RemoveClient(client);
}

TEST(ThumbnailPool, RestartReplacesTheQueueAndTagsResults) {
    FakeMaker fake;
    ThumbnailPool pool(1, MakerOf(fake));
    Collected got;
    const int client = pool.AddClient(got.Sink());
    pool.Restart(client, 1, 96, {"old0", "old1", "old2"});
    fake.WaitForStarted(1);
    pool.Restart(client, 2, 48, {"new0", "damaged", "throws"});
    fake.Release();
    ASSERT_TRUE(got.WaitFor(4));
    // The job under way finishes with its own generation; the rest is new.
    EXPECT_EQ(fake.order, (std::vector<std::string>{"old0", "new0", "damaged", "throws"}));
    EXPECT_EQ(got.results[0].generation, 1u);
    EXPECT_EQ(got.results[1].generation, 2u);
    EXPECT_EQ(got.results[1].picture.Width(), 48);
    EXPECT_EQ(got.results[2].outcome, GuardedLoad::Damaged);
    EXPECT_EQ(got.results[2].message, "damaged!");
    EXPECT_EQ(got.results[3].outcome, GuardedLoad::UseIcon);
    EXPECT_TRUE(got.results[3].picture.IsEmpty());

    pool.Restart(client, 3, 96, {}); // stopping the work is a restart with nothing
    EXPECT_EQ(pool.Pending(client), 0u);
    pool.RemoveClient(client);
}

TEST(ThumbnailPool, ClientsTakeTurnsAndLeaveCleanly) {
    FakeMaker fake;
    ThumbnailPool pool(1, MakerOf(fake));
    Collected a, b;
    const int first = pool.AddClient(a.Sink());
    const int second = pool.AddClient(b.Sink());
    pool.Restart(first, 1, 16, {"a0", "a1", "a2"});
    fake.WaitForStarted(1);
    pool.Restart(second, 1, 16, {"b0", "b1"});
    fake.Release();
    ASSERT_TRUE(a.WaitFor(3));
    ASSERT_TRUE(b.WaitFor(2));
    EXPECT_EQ(fake.order, (std::vector<std::string>{"a0", "b0", "a1", "b1", "a2"}));

    // Leaving while a job of the client is under way waits for it; nothing
    // reaches the client afterwards, queued work is dropped.
    {
        std::lock_guard lock(fake.mutex);
        fake.held = true;
    }
    pool.Restart(first, 2, 16, {"c0", "c1", "c2"});
    fake.WaitForStarted(6);
    std::atomic<bool> removed{false};
    std::thread leaving([&] {
        pool.RemoveClient(first);
        removed = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(removed);
    fake.Release();
    leaving.join();
    EXPECT_EQ(a.results.size(), 4u); // c0 only
    EXPECT_EQ(fake.order.size(), 6u);
    pool.RemoveClient(second);
}

TEST(ThumbnailPool, NeverMoreThreadsThanAllowed) {
    FakeMaker fake;
    fake.held = false;
    ThumbnailPool pool(2, MakerOf(fake));
    Collected got;
    const int client = pool.AddClient(got.Sink());
    std::vector<std::string> paths;
    for (int i = 0; i < 40; ++i)
        paths.push_back("p" + std::to_string(i));
    pool.Restart(client, 1, 8, paths);
    ASSERT_TRUE(got.WaitFor(40));
    EXPECT_LE(fake.mostAtOnce, 2);
    pool.RemoveClient(client);

    ThumbnailPool machine;
    EXPECT_GE(machine.ThreadLimit(), 1u);
    EXPECT_LE(machine.ThreadLimit(), std::max(1u, std::thread::hardware_concurrency()));
}
