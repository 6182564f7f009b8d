#include "core/pool.h"

#include "core/lock.h"

#include <algorithm>
#include <cstdlib>

namespace {

struct Chunk {
    Chunk* next;
    Chunk* previous;
    BlockPool* pool;
    std::size_t capacity;
    std::size_t used;
    std::size_t untouched;  // blocks from here on were never handed out
    void* free_blocks;      // released blocks, linked through their first word
    bool full;
};

constexpr std::size_t CHUNK_HEADER = (sizeof(Chunk) + 15) & ~std::size_t(15);

}  // namespace

struct BlockPool {
    std::size_t requested_size;
    std::size_t block_size;  // with the back pointer, rounded up to a whole word
    std::size_t min_chunk;
    std::size_t max_chunk;
    std::uint32_t flags;
    Chunk* with_free;
    Chunk* full;
    std::size_t blocks_owned;
    std::size_t chunk_count;
    Lock lock;
    int references;         // shared pools only
    BlockPool* next_shared;
};

namespace {

struct SharedRegistry {
    Lock lock;
    BlockPool* pools;
};

SharedRegistry g_registry;
RunOnceGuard g_registry_once;

void registry_init()
{
    lock_init(&g_registry.lock);
}

bool is_locked(const BlockPool* pool)
{
    return (pool->flags & 3) == POOL_THREAD_SAFE;
}

void list_push(Chunk** head, Chunk* chunk)
{
    chunk->previous = nullptr;
    chunk->next = *head;
    if (*head)
        (*head)->previous = chunk;
    *head = chunk;
}

void list_remove(Chunk** head, Chunk* chunk)
{
    if (chunk->previous)
        chunk->previous->next = chunk->next;
    else
        *head = chunk->next;
    if (chunk->next)
        chunk->next->previous = chunk->previous;
}

char* chunk_block(Chunk* chunk, std::size_t index)
{
    return reinterpret_cast<char*>(chunk) + CHUNK_HEADER + index * chunk->pool->block_size;
}

Chunk* chunk_allocate(BlockPool* pool, std::size_t blocks)
{
    auto* chunk = static_cast<Chunk*>(std::malloc(CHUNK_HEADER + blocks * pool->block_size));
    if (!chunk)
        return nullptr;
    *chunk = Chunk{nullptr, nullptr, pool, blocks, 0, 0, nullptr, false};
    return chunk;
}

// A new chunk grows with the pool: a sixteenth of what it owns, within the bounds.
Chunk* chunk_new(BlockPool* pool)
{
    std::size_t share = (pool->blocks_owned / 16) & ~std::size_t(15);
    std::size_t blocks = std::max(pool->min_chunk, std::min(pool->max_chunk, share));
    Chunk* chunk = chunk_allocate(pool, blocks);
    if (!chunk)
        chunk = chunk_allocate(pool, 1);
    if (!chunk)
        return nullptr;
    pool->blocks_owned += chunk->capacity;
    ++pool->chunk_count;
    list_push(&pool->with_free, chunk);
    return chunk;
}

void chunk_release(BlockPool* pool, Chunk* chunk)
{
    list_remove(chunk->full ? &pool->full : &pool->with_free, chunk);
    pool->blocks_owned -= chunk->capacity;
    --pool->chunk_count;
    std::free(chunk);
}

void* take_block(BlockPool* pool)
{
    Chunk* chunk = pool->with_free ? pool->with_free : chunk_new(pool);
    if (!chunk)
        return nullptr;
    char* block;
    if (chunk->free_blocks) {
        block = static_cast<char*>(chunk->free_blocks);
        chunk->free_blocks = *reinterpret_cast<void**>(block + sizeof(Chunk*));
    } else {
        block = chunk_block(chunk, chunk->untouched++);
        *reinterpret_cast<Chunk**>(block) = chunk;
    }
    if (++chunk->used == chunk->capacity) {
        list_remove(&pool->with_free, chunk);
        list_push(&pool->full, chunk);
        chunk->full = true;
    }
    return block + sizeof(Chunk*);
}

// A chunk whose blocks are all free is released, unless it is the pool's only chunk
// with free blocks: keeping that one spare means a queue that fills and drains one
// event at a time never goes back to the heap.
void give_block(BlockPool* pool, Chunk* chunk, char* block)
{
    *reinterpret_cast<void**>(block + sizeof(Chunk*)) = chunk->free_blocks;
    chunk->free_blocks = block;
    --chunk->used;
    if (chunk->full) {
        list_remove(&pool->full, chunk);
        list_push(&pool->with_free, chunk);
        chunk->full = false;
    }
    bool spare = pool->with_free == chunk && chunk->next == nullptr;
    if (chunk->used == 0 && !spare)
        chunk_release(pool, chunk);
}

BlockPool* pool_create(std::size_t block_size, std::size_t min_chunk, std::size_t max_chunk, std::uint32_t flags)
{
    auto* pool = static_cast<BlockPool*>(std::calloc(1, sizeof(BlockPool)));
    if (!pool)
        return nullptr;
    // Each block carries a back pointer to its chunk and has room for the free-list link.
    std::size_t payload = std::max(block_size, sizeof(void*));
    pool->requested_size = block_size;
    pool->block_size = (payload + sizeof(Chunk*) + sizeof(void*) - 1) & ~(sizeof(void*) - 1);
    pool->min_chunk = std::max<std::size_t>(min_chunk, 1);
    pool->max_chunk = std::max(max_chunk, pool->min_chunk);
    pool->flags = flags;
    pool->references = 1;
    if (is_locked(pool))
        lock_init(&pool->lock);
    return pool;
}

void pool_destroy(BlockPool* pool)
{
    while (pool->with_free)
        chunk_release(pool, pool->with_free);
    while (pool->full)
        chunk_release(pool, pool->full);
    if (is_locked(pool))
        lock_destroy(&pool->lock);
    std::free(pool);
}

Lock* pool_lock(BlockPool* pool)
{
    return is_locked(pool) ? &pool->lock : nullptr;
}

}  // namespace

BlockPool* pool_new(std::size_t block_size, std::size_t min_chunk, std::size_t max_chunk, std::uint32_t flags)
{
    if (!(flags & POOL_SHARED))
        return pool_create(block_size, min_chunk, max_chunk, flags);

    run_once(&g_registry_once, registry_init);
    LockGuard guard(&g_registry.lock);
    for (BlockPool* pool = g_registry.pools; pool; pool = pool->next_shared) {
        if (pool->requested_size == block_size && pool->flags == flags) {
            ++pool->references;
            return pool;
        }
    }
    BlockPool* pool = pool_create(block_size, min_chunk, max_chunk, flags);
    if (pool) {
        pool->next_shared = g_registry.pools;
        g_registry.pools = pool;
    }
    return pool;
}

void pool_free(BlockPool* pool)
{
    if (!pool)
        return;
    if (!(pool->flags & POOL_SHARED)) {
        pool_destroy(pool);
        return;
    }
    LockGuard guard(&g_registry.lock);
    if (--pool->references > 0)
        return;
    for (BlockPool** link = &g_registry.pools; *link; link = &(*link)->next_shared) {
        if (*link == pool) {
            *link = pool->next_shared;
            break;
        }
    }
    pool_destroy(pool);
}

void* pool_alloc(BlockPool* pool)
{
    if (!pool)
        return nullptr;
    LockGuard guard(pool_lock(pool));
    return take_block(pool);
}

void pool_release(void* block)
{
    if (!block)
        return;
    char* start = static_cast<char*>(block) - sizeof(Chunk*);
    Chunk* chunk = *reinterpret_cast<Chunk**>(start);
    BlockPool* pool = chunk->pool;
    LockGuard guard(pool_lock(pool));
    give_block(pool, chunk, start);
}

std::size_t pool_chunk_count(const BlockPool* pool)
{
    return pool ? pool->chunk_count : 0;
}

std::size_t pool_block_count(const BlockPool* pool)
{
    return pool ? pool->blocks_owned : 0;
}
