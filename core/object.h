// Numbered objects: every resource the toolkit hands out is known by an integer.
// Fixed numbers are small non-negative integers chosen by the program; GK_ANY asks
// the table for a dynamic number, which is the address of the object's record.
#pragma once

#include <cstddef>
#include <cstdint>

using ObjectNumber = std::intptr_t;

constexpr ObjectNumber GK_ANY = -1;

// Fixed numbers and their slots stay below this bound. No allocation can lie in the first
// 64 KiB of the address space, so a dynamic number (a record's address) never falls in the
// slot range, and an absurd fixed number cannot make the slot array grow without limit.
constexpr ObjectNumber OBJECT_FIXED_LIMIT = 65536;

// The component's operation that destroys one object (or all, for GK_ANY) and then
// calls object_free on it.
using ObjectFreeFn = void (*)(ObjectNumber number);

struct ObjectNode;

struct ObjectTable {
    std::size_t record_size = 0;   // every record starts with its primary handle (a machine word)
    std::size_t growth_step = 0;   // slots added when a fixed number beyond the end is used
    std::size_t slot_count = 0;
    void** slots = nullptr;        // one record per fixed number, null until first used
    ObjectNode* dynamic_head = nullptr;  // newest dynamic record first
    ObjectNode* dynamic_tail = nullptr;
    // Addresses of live dynamic records, an open-addressed set, so that a number
    // that names nothing is refused in constant time instead of dereferenced.
    std::uintptr_t* dynamic_set = nullptr;
    std::size_t dynamic_set_capacity = 0;
    std::size_t dynamic_set_used = 0;  // entries plus tombstones
    std::size_t dynamic_count = 0;
    ObjectFreeFn free_fn = nullptr;
    std::size_t enum_slot = 0;     // enumeration cursor
    ObjectNode* enum_node = nullptr;
    bool enum_in_dynamic = false;
};

ObjectTable* object_table_new(std::size_t record_size, std::size_t growth_step, ObjectFreeFn free_fn);

// Tables live as long as the program; only tests delete one, with its records.
void object_table_delete(ObjectTable* table);

// Returns the zero-filled record for a new object, or null when memory runs out or the
// number is neither GK_ANY nor a non-negative number whose slots fit below
// OBJECT_FIXED_LIMIT.
void* object_new(ObjectTable* table, ObjectNumber number);

// The number of the object made by object_new(table, requested): the record's address
// for GK_ANY, the requested number otherwise.
inline ObjectNumber object_number_for(ObjectNumber requested, const void* record)
{
    return requested == GK_ANY ? reinterpret_cast<ObjectNumber>(record) : requested;
}

// The ordinary lookup of a live record: a range test and one load for fixed numbers,
// one hash probe for dynamic ones.
void* object_get(const ObjectTable* table, ObjectNumber number);

// The lookup behind each component's "exists" test: a synonym of object_get that the
// interface keeps (docs/architecture.md lists the synonyms).
void* object_find(const ObjectTable* table, ObjectNumber number);

void object_free(ObjectTable* table, ObjectNumber number);

// The number of dynamic records the table holds.
inline std::size_t object_dynamic_count(const ObjectTable* table)
{
    return table->dynamic_count;
}
void object_free_all(ObjectTable* table);

void object_enum_reset(ObjectTable* table);
void* object_enum_next(ObjectTable* table, ObjectNumber* number);

// The primary handle every record starts with; a record is live while it is non-zero.
inline std::uintptr_t object_handle(const void* record)
{
    return *static_cast<const std::uintptr_t*>(record);
}

// Per-component state block: one zeroed block per component for the whole process,
// allocated at the component's start and kept by it; never freed.
using StateInitFn = void (*)(void* block);
void* state_block_new(std::size_t size, StateInitFn init);
