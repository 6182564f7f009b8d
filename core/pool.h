// Block pool: fixed-size blocks taken from chunks instead of from the heap one by one.
// The event queue and the toolkit's hash maps use it.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::uint32_t POOL_THREAD_SAFE = 1;  // a lock around each operation
constexpr std::uint32_t POOL_SHARED = 4;       // equal requests share one counted pool

struct BlockPool;

// Null when memory runs out. A shared pool is counted: each pool_new of the same
// (block size, flags) returns the same pool and needs its own pool_free.
BlockPool* pool_new(std::size_t block_size, std::size_t min_chunk, std::size_t max_chunk, std::uint32_t flags);
void pool_free(BlockPool* pool);

// A block of at least the requested size, or null when memory runs out.
void* pool_alloc(BlockPool* pool);
void pool_release(void* block);

// For tests and benchmarks: how many chunks and blocks the pool holds now.
std::size_t pool_chunk_count(const BlockPool* pool);
std::size_t pool_block_count(const BlockPool* pool);
