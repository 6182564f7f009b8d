#include "core/object.h"

#include <cstdlib>
#include <cstring>

// Dynamic records live behind a two-pointer header; the record's address is the number.
struct ObjectNode {
    ObjectNode* next;
    ObjectNode* previous;
};

namespace {

constexpr std::size_t NODE_HEADER = sizeof(ObjectNode) < alignof(std::max_align_t)
                                        ? alignof(std::max_align_t)
                                        : sizeof(ObjectNode);

void* node_record(ObjectNode* node)
{
    return reinterpret_cast<char*>(node) + NODE_HEADER;
}

ObjectNode* record_node(void* record)
{
    return reinterpret_cast<ObjectNode*>(static_cast<char*>(record) - NODE_HEADER);
}

bool in_slot_range(const ObjectTable* table, ObjectNumber number)
{
    return number >= 0 && static_cast<std::size_t>(number) < table->slot_count;
}

// The set of live dynamic records: open addressing with linear probing.
constexpr std::uintptr_t SET_EMPTY = 0;
constexpr std::uintptr_t SET_TOMBSTONE = 1;  // record addresses are never 0 or 1

std::size_t set_home(const ObjectTable* table, std::uintptr_t key)
{
    return static_cast<std::size_t>((key >> 4) * 0x9E3779B97F4A7C15ull) & (table->dynamic_set_capacity - 1);
}

std::uintptr_t* set_slot(const ObjectTable* table, std::uintptr_t key)
{
    if (table->dynamic_set_capacity == 0)
        return nullptr;
    for (std::size_t i = set_home(table, key);; i = (i + 1) & (table->dynamic_set_capacity - 1)) {
        std::uintptr_t entry = table->dynamic_set[i];
        if (entry == key)
            return &table->dynamic_set[i];
        if (entry == SET_EMPTY)
            return nullptr;
    }
}

bool set_rehash(ObjectTable* table, std::size_t capacity)
{
    auto* entries = static_cast<std::uintptr_t*>(std::calloc(capacity, sizeof(std::uintptr_t)));
    if (!entries)
        return false;
    std::uintptr_t* old = table->dynamic_set;
    std::size_t old_capacity = table->dynamic_set_capacity;
    table->dynamic_set = entries;
    table->dynamic_set_capacity = capacity;
    table->dynamic_set_used = 0;
    for (std::size_t i = 0; i < old_capacity; ++i) {
        std::uintptr_t key = old[i];
        if (key == SET_EMPTY || key == SET_TOMBSTONE)
            continue;
        std::size_t j = set_home(table, key);
        while (entries[j] != SET_EMPTY)
            j = (j + 1) & (capacity - 1);
        entries[j] = key;
        ++table->dynamic_set_used;
    }
    std::free(old);
    return true;
}

bool set_insert(ObjectTable* table, std::uintptr_t key)
{
    if ((table->dynamic_set_used + 1) * 4 > table->dynamic_set_capacity * 3) {
        std::size_t capacity = 16;
        while (capacity < (table->dynamic_count + 1) * 4)
            capacity *= 2;
        if (!set_rehash(table, capacity))
            return false;
    }
    std::size_t i = set_home(table, key);
    while (table->dynamic_set[i] != SET_EMPTY && table->dynamic_set[i] != SET_TOMBSTONE)
        i = (i + 1) & (table->dynamic_set_capacity - 1);
    if (table->dynamic_set[i] == SET_EMPTY)
        ++table->dynamic_set_used;
    table->dynamic_set[i] = key;
    ++table->dynamic_count;
    return true;
}

void set_remove(ObjectTable* table, std::uintptr_t* slot)
{
    *slot = SET_TOMBSTONE;
    --table->dynamic_count;
}

bool grow_slots(ObjectTable* table, std::size_t count)
{
    void** grown = static_cast<void**>(std::realloc(table->slots, count * sizeof(void*)));
    if (!grown)
        return false;
    std::memset(grown + table->slot_count, 0, (count - table->slot_count) * sizeof(void*));
    table->slots = grown;
    table->slot_count = count;
    return true;
}

void* new_dynamic(ObjectTable* table)
{
    auto* node = static_cast<ObjectNode*>(std::calloc(1, NODE_HEADER + table->record_size));
    if (!node)
        return nullptr;
    void* record = node_record(node);
    if (!set_insert(table, reinterpret_cast<std::uintptr_t>(record))) {
        std::free(node);
        return nullptr;
    }
    node->next = table->dynamic_head;
    if (table->dynamic_head)
        table->dynamic_head->previous = node;
    else
        table->dynamic_tail = node;
    table->dynamic_head = node;
    return record;
}

void unlink_dynamic(ObjectTable* table, ObjectNode* node)
{
    if (node->previous)
        node->previous->next = node->next;
    else
        table->dynamic_head = node->next;
    if (node->next)
        node->next->previous = node->previous;
    else
        table->dynamic_tail = node->previous;
    if (table->enum_node == node)
        table->enum_node = node->previous;
}

// The record behind a dynamic number, or null when the number names no dynamic record.
void* dynamic_record(const ObjectTable* table, ObjectNumber number)
{
    if (number == GK_ANY || in_slot_range(table, number))
        return nullptr;
    return set_slot(table, static_cast<std::uintptr_t>(number)) ? reinterpret_cast<void*>(number) : nullptr;
}

}  // namespace

ObjectTable* object_table_new(std::size_t record_size, std::size_t growth_step, ObjectFreeFn free_fn)
{
    if (record_size < sizeof(std::uintptr_t) || growth_step == 0
        || growth_step >= static_cast<std::size_t>(OBJECT_FIXED_LIMIT))
        return nullptr;
    auto* table = new ObjectTable;
    table->record_size = record_size;
    table->growth_step = growth_step;
    table->free_fn = free_fn;
    if (!grow_slots(table, growth_step)) {
        delete table;
        return nullptr;
    }
    return table;
}

void object_table_delete(ObjectTable* table)
{
    if (!table)
        return;
    for (std::size_t i = 0; i < table->slot_count; ++i)
        std::free(table->slots[i]);
    while (ObjectNode* node = table->dynamic_head) {
        table->dynamic_head = node->next;
        std::free(node);
    }
    std::free(table->slots);
    std::free(table->dynamic_set);
    delete table;
}

void* object_new(ObjectTable* table, ObjectNumber number)
{
    if (!table || number < GK_ANY)
        return nullptr;
    if (number == GK_ANY)
        return new_dynamic(table);

    auto index = static_cast<std::size_t>(number);
    if (index >= table->slot_count) {
        std::size_t count = index + table->growth_step;
        if (count > static_cast<std::size_t>(OBJECT_FIXED_LIMIT) || !grow_slots(table, count))
            return nullptr;
    }
    if (void* record = table->slots[index]) {
        // The component destroys a live object first; a freed record is already zero.
        if (object_handle(record) != 0 && table->free_fn)
            table->free_fn(number);
        std::memset(record, 0, table->record_size);
        return record;
    }
    table->slots[index] = std::calloc(1, table->record_size);
    return table->slots[index];
}

void* object_get(const ObjectTable* table, ObjectNumber number)
{
    if (!table)
        return nullptr;
    void* record = in_slot_range(table, number) ? table->slots[number] : dynamic_record(table, number);
    return record && object_handle(record) != 0 ? record : nullptr;
}

void* object_find(const ObjectTable* table, ObjectNumber number)
{
    return object_get(table, number);
}

void object_free(ObjectTable* table, ObjectNumber number)
{
    if (!table)
        return;
    if (in_slot_range(table, number)) {
        if (void* record = table->slots[number])
            std::memset(record, 0, table->record_size);
        return;
    }
    if (!dynamic_record(table, number))
        return;
    set_remove(table, set_slot(table, static_cast<std::uintptr_t>(number)));
    ObjectNode* node = record_node(reinterpret_cast<void*>(number));
    unlink_dynamic(table, node);
    std::free(node);
}

void object_free_all(ObjectTable* table)
{
    if (!table || !table->free_fn)
        return;
    for (std::size_t i = 0; i < table->slot_count; ++i) {
        void* record = table->slots[i];
        if (record && object_handle(record) != 0)
            table->free_fn(static_cast<ObjectNumber>(i));
    }
    // Each call unlinks the head, so the loop ends; a free operation that fails to
    // unlink would leave the same head, which the guard catches.
    while (ObjectNode* head = table->dynamic_head) {
        table->free_fn(reinterpret_cast<ObjectNumber>(node_record(head)));
        if (table->dynamic_head == head)
            object_free(table, reinterpret_cast<ObjectNumber>(node_record(head)));
    }
}

void object_enum_reset(ObjectTable* table)
{
    if (!table)
        return;
    table->enum_slot = 0;
    table->enum_in_dynamic = false;
    table->enum_node = nullptr;
}

void* object_enum_next(ObjectTable* table, ObjectNumber* number)
{
    if (!table)
        return nullptr;
    while (!table->enum_in_dynamic && table->enum_slot < table->slot_count) {
        std::size_t index = table->enum_slot++;
        void* record = table->slots[index];
        if (record && object_handle(record) != 0) {
            if (number)
                *number = static_cast<ObjectNumber>(index);
            return record;
        }
    }
    // Dynamic objects oldest first: walk from the tail towards the head.
    if (!table->enum_in_dynamic) {
        table->enum_in_dynamic = true;
        table->enum_node = table->dynamic_tail;
    }
    while (ObjectNode* node = table->enum_node) {
        table->enum_node = node->previous;
        void* record = node_record(node);
        if (object_handle(record) != 0) {
            if (number)
                *number = reinterpret_cast<ObjectNumber>(record);
            return record;
        }
    }
    return nullptr;
}

void* state_block_new(std::size_t size, StateInitFn init)
{
    void* block = std::calloc(1, size);
    if (block && init)
        init(block);
    return block;
}
