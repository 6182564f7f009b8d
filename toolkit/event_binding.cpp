#include "toolkit/event.h"

#include "toolkit/event_internal.h"
#include "core/pool.h"

#include <cstring>

namespace {

constexpr std::size_t BUCKET_COUNT = 1024;

struct HandlerNode {
    HandlerNode* next;
    EventHandler handler;
    bool active;
};

// One key's handlers, newest binding first. While a walk is running over the list
// (walkers > 0) nodes are only marked inactive; the last walker drops them.
struct BindingEntry {
    BindingEntry* next;
    std::uint32_t hash;
    ObjectNumber window;
    int event;
    ObjectNumber object;
    HandlerNode* handlers;
    int walkers;
    bool has_inactive;
    std::uint8_t key_length;
    char key[EVENT_KEY_CAPACITY];
};

struct BindingRegistry {
    BindingEntry* buckets[BUCKET_COUNT];
    std::size_t count;
    BlockPool* entry_pool;
    BlockPool* handler_pool;
};

BindingRegistry* g_registry = nullptr;

char* write_decimal(char* out, long long value)
{
    char digits[24];
    int count = 0;
    unsigned long long magnitude = value < 0 ? 0ull - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0)
        *out++ = '-';
    while (count)
        *out++ = digits[--count];
    return out;
}

std::uint32_t hash_key(const char* key, std::size_t length)
{
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < length; ++i)
        hash = (hash ^ static_cast<unsigned char>(key[i])) * 16777619u;
    return hash;
}

struct Key {
    char text[EVENT_KEY_CAPACITY];
    std::size_t length;
    std::uint32_t hash;
};

Key make_key(int event, ObjectNumber window, ObjectNumber object, int type)
{
    Key key;
    key.length = event_key_text(key.text, event, window, object, type);
    key.hash = hash_key(key.text, key.length);
    return key;
}

BindingEntry** find_link(const Key& key)
{
    BindingEntry** link = &g_registry->buckets[key.hash % BUCKET_COUNT];
    while (*link) {
        BindingEntry* entry = *link;
        if (entry->hash == key.hash && entry->key_length == key.length
            && std::memcmp(entry->key, key.text, key.length) == 0)
            return link;
        link = &entry->next;
    }
    return link;
}

void delete_entry(BindingEntry* entry)
{
    BindingEntry** link = &g_registry->buckets[entry->hash % BUCKET_COUNT];
    while (*link != entry)
        link = &(*link)->next;
    *link = entry->next;
    --g_registry->count;
    pool_release(entry);
}

// Drops the inactive handlers, and the entry itself once no handler is left.
void sweep(BindingEntry* entry)
{
    if (entry->walkers > 0)
        return;
    HandlerNode** link = &entry->handlers;
    while (HandlerNode* node = *link) {
        if (node->active) {
            link = &node->next;
        } else {
            *link = node->next;
            pool_release(node);
        }
    }
    entry->has_inactive = false;
    if (!entry->handlers)
        delete_entry(entry);
}

void run_key(int event, ObjectNumber window, ObjectNumber object, int type)
{
    BindingEntry* entry = *find_link(make_key(event, window, object, type));
    if (!entry)
        return;
    ++entry->walkers;
    for (HandlerNode* node = entry->handlers; node; node = node->next) {
        if (node->active)
            node->handler();
    }
    --entry->walkers;
    if (entry->has_inactive)
        sweep(entry);
}

}  // namespace

int event_bindings_start()
{
    if (g_registry)
        return 1;
    g_registry = static_cast<BindingRegistry*>(state_block_new(sizeof(BindingRegistry), nullptr));
    if (!g_registry)
        return 0;
    g_registry->entry_pool = pool_new(sizeof(BindingEntry), 16, 256, POOL_SHARED);
    g_registry->handler_pool = pool_new(sizeof(HandlerNode), 16, 256, POOL_SHARED);
    return g_registry->entry_pool && g_registry->handler_pool;
}

std::size_t event_key_text(char* buffer, int event, ObjectNumber window, ObjectNumber object, int type)
{
    char* out = write_decimal(buffer, event);
    *out++ = ':';
    out = write_decimal(out, window);
    *out++ = ':';
    out = write_decimal(out, object);
    *out++ = ':';
    out = write_decimal(out, type);
    *out = '\0';
    return static_cast<std::size_t>(out - buffer);
}

void event_run_handlers(int event, ObjectNumber window, ObjectNumber object, int type)
{
    if (!g_registry || g_registry->count == 0)
        return;
    run_key(event, window, object, type);
    run_key(event, window, object, -1);
    run_key(event, window, -1, -1);
    run_key(event, -1, -1, -1);
    run_key(event, -1, object, type);
}

int event_bind(int event, EventHandler handler, ObjectNumber window, ObjectNumber object, int type)
{
    if (!g_registry || !handler)
        return 0;
    Key key = make_key(event, window, object, type);
    BindingEntry** link = find_link(key);
    BindingEntry* entry = *link;
    if (!entry) {
        entry = static_cast<BindingEntry*>(pool_alloc(g_registry->entry_pool));
        if (!entry)
            return 0;
        *entry = BindingEntry{nullptr, key.hash, window, event, object, nullptr, 0, false,
                              static_cast<std::uint8_t>(key.length), {}};
        std::memcpy(entry->key, key.text, key.length + 1);
        *link = entry;
        ++g_registry->count;
    }
    auto* node = static_cast<HandlerNode*>(pool_alloc(g_registry->handler_pool));
    if (!node) {
        if (!entry->handlers)
            delete_entry(entry);
        return 0;
    }
    *node = HandlerNode{entry->handlers, handler, true};
    entry->handlers = node;
    return 1;
}

int event_bind_window(int event, EventHandler handler, ObjectNumber window)
{
    return event_bind(event, handler, window, -1, -1);
}

int event_bind_item(int event, EventHandler handler, ObjectNumber window, ObjectNumber item)
{
    return event_bind(event, handler, window, item, -1);
}

int event_unbind(int event, EventHandler handler, ObjectNumber window, ObjectNumber object, int type)
{
    if (!g_registry)
        return 0;
    BindingEntry* entry = *find_link(make_key(event, window, object, type));
    if (!entry)
        return 0;
    for (HandlerNode* node = entry->handlers; node; node = node->next) {
        if (node->active && node->handler == handler) {
            node->active = false;
            entry->has_inactive = true;
            sweep(entry);
            return 1;
        }
    }
    return 0;
}

int event_unbind_window(int event, EventHandler handler, ObjectNumber window)
{
    return event_unbind(event, handler, window, -1, -1);
}

namespace {

// Deactivates and drops every entry the test picks.
template <typename Test>
void unbind_entries_where(Test picks)
{
    if (!g_registry)
        return;
    for (BindingEntry*& bucket : g_registry->buckets) {
        BindingEntry* entry = bucket;
        while (entry) {
            BindingEntry* next = entry->next;
            if (picks(entry)) {
                for (HandlerNode* node = entry->handlers; node; node = node->next)
                    node->active = false;
                entry->has_inactive = true;
                sweep(entry);
            }
            entry = next;
        }
    }
}

}  // namespace

void event_unbind_all_of_window(ObjectNumber window)
{
    unbind_entries_where([window](const BindingEntry* entry) { return entry->window == window; });
}

void event_unbind_all_of_object(int event, ObjectNumber object)
{
    unbind_entries_where(
        [event, object](const BindingEntry* entry) { return entry->event == event && entry->object == object; });
}

std::size_t event_binding_count()
{
    return g_registry ? g_registry->count : 0;
}
