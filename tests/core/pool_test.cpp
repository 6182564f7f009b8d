#include "core/pool.h"

#include "core/lock.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <thread>
#include <vector>

namespace {

TEST(PoolTest, BlocksAreDistinctWritableAndReused)
{
    BlockPool* pool = pool_new(40, 16, 256, 0);
    std::vector<void*> blocks;
    for (int i = 0; i < 1000; ++i) {
        void* block = pool_alloc(pool);
        ASSERT_NE(block, nullptr);
        std::memset(block, i & 0xff, 40);
        blocks.push_back(block);
    }
    EXPECT_EQ(std::set<void*>(blocks.begin(), blocks.end()).size(), blocks.size());
    for (std::size_t i = 0; i < blocks.size(); ++i)
        EXPECT_EQ(static_cast<unsigned char*>(blocks[i])[39], i & 0xff);
    for (void* block : blocks)
        pool_release(block);
    // Only the one spare chunk stays once everything is back.
    EXPECT_EQ(pool_chunk_count(pool), 1u);
    pool_free(pool);
}

TEST(PoolTest, ChunksGrowWithThePoolWithinTheBounds)
{
    BlockPool* pool = pool_new(8, 16, 256, 0);
    std::vector<void*> blocks;
    for (int i = 0; i < 16; ++i)
        blocks.push_back(pool_alloc(pool));
    EXPECT_EQ(pool_block_count(pool), 16u);
    for (int i = 0; i < 20000; ++i)
        blocks.push_back(pool_alloc(pool));
    // Chunks grew with the pool: far fewer than 20016 / 16, never above 256 blocks.
    EXPECT_LT(pool_chunk_count(pool), 200u);
    EXPECT_GE(pool_chunk_count(pool), 20016u / 256);
    for (void* block : blocks)
        pool_release(block);
    pool_free(pool);
}

TEST(PoolTest, FillAndDrainOneAtATimeStaysInOneChunk)
{
    BlockPool* pool = pool_new(64, 16, 256, 0);
    for (int i = 0; i < 10000; ++i) {
        void* block = pool_alloc(pool);
        pool_release(block);
        EXPECT_EQ(pool_chunk_count(pool), 1u);
    }
    pool_free(pool);
}

TEST(PoolTest, SharedPoolsAreCountedByBlockSizeAndFlags)
{
    BlockPool* a = pool_new(24, 16, 256, POOL_SHARED);
    BlockPool* b = pool_new(24, 8, 64, POOL_SHARED);
    BlockPool* other = pool_new(24, 16, 256, POOL_SHARED | POOL_THREAD_SAFE);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, other);
    void* block = pool_alloc(b);
    pool_free(a);
    pool_release(block);  // still alive: b holds a reference
    pool_free(b);
    pool_free(other);
}

TEST(PoolTest, ThreadSafePoolSurvivesConcurrentUse)
{
    BlockPool* pool = pool_new(32, 16, 256, POOL_THREAD_SAFE);
    auto work = [pool] {
        std::vector<void*> held;
        for (int i = 0; i < 20000; ++i) {
            held.push_back(pool_alloc(pool));
            if (i % 3 == 0) {
                pool_release(held.back());
                held.pop_back();
            }
        }
        for (void* block : held)
            pool_release(block);
    };
    std::thread first(work), second(work);
    first.join();
    second.join();
    EXPECT_LE(pool_chunk_count(pool), 1u);
    pool_free(pool);
}

int g_once_runs = 0;
void count_once() { ++g_once_runs; }

TEST(LockTest, RunOnceRunsExactlyOnceAcrossThreads)
{
    static RunOnceGuard guard;
    static volatile std::int32_t word = 0;
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([] {
            run_once(&guard, count_once);
            run_once_interlocked(&word, count_once);
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(g_once_runs, 2);
}

}  // namespace
