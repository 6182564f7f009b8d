#include "dialog/runtime_registry.h"

#include "dialog/dialog_text.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <unordered_map>

namespace {

enum class EntryKind : std::uint8_t { Integer, Float, Procedure, Variable };

struct RuntimeEntry {
    EntryKind kind = EntryKind::Integer;
    RuntimeType type = RuntimeType::Int32;
    std::int64_t integer = 0;
    double real = 0;
    RuntimeProcedure procedure = nullptr;
    const void* address = nullptr;
};

// Registry names match as the definition's names do, by the ASCII rule.
struct NoCaseHash {
    std::size_t operator()(const std::u16string& name) const
    {
        std::size_t hash = 14695981039346656037ull;
        for (char16_t c : name)
            hash = (hash ^ text_fold_ascii(c)) * 1099511628211ull;
        return hash;
    }
};

struct NoCaseEqual {
    bool operator()(const std::u16string& a, const std::u16string& b) const { return text_equal_ascii(a, b); }
};

constexpr std::size_t REGISTRY_BUCKETS = 1024;

std::int64_t truncate_real(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 9.2e18)
        return std::numeric_limits<std::int64_t>::max();
    if (value <= -9.2e18)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

template <typename T>
T read_as(const void* address)
{
    T value;
    std::memcpy(&value, address, sizeof value);
    return value;
}

std::int64_t read_variable(const RuntimeEntry& entry)
{
    switch (entry.type) {
    case RuntimeType::Int8: return read_as<std::int8_t>(entry.address);
    case RuntimeType::Int16: return read_as<std::int16_t>(entry.address);
    case RuntimeType::Int32:
    case RuntimeType::Integer: return read_as<std::int32_t>(entry.address);
    case RuntimeType::Float32: return truncate_real(read_as<float>(entry.address));
    case RuntimeType::Char8: return read_as<std::uint8_t>(entry.address);
    case RuntimeType::Float64: return truncate_real(read_as<double>(entry.address));
    case RuntimeType::Char16: return read_as<std::uint16_t>(entry.address);
    }
    return 0;
}

}

struct RuntimeRegistry {
    std::unordered_map<std::u16string, RuntimeEntry, NoCaseHash, NoCaseEqual> entries{REGISTRY_BUCKETS};
};

void RuntimeRegistryDeleter::operator()(RuntimeRegistry* registry) const
{
    delete registry;
}

RuntimeRegistryPtr runtime_registry_new()
{
    return RuntimeRegistryPtr(new (std::nothrow) RuntimeRegistry);
}

namespace {

bool declare(RuntimeRegistry* registry, std::u16string_view name, const RuntimeEntry& entry)
{
    if (!registry || name.empty())
        return false;
    registry->entries.insert_or_assign(std::u16string(name), entry);
    return true;
}

const RuntimeEntry* find(const RuntimeRegistry* registry, std::u16string_view name)
{
    if (!registry || name.empty())
        return nullptr;
    auto found = registry->entries.find(std::u16string(name));
    return found == registry->entries.end() ? nullptr : &found->second;
}

}

bool runtime_declare_integer(RuntimeRegistry* registry, std::u16string_view name, std::int64_t value)
{
    RuntimeEntry entry;
    entry.kind = EntryKind::Integer;
    entry.integer = value;
    return declare(registry, name, entry);
}

bool runtime_declare_float(RuntimeRegistry* registry, std::u16string_view name, double value)
{
    RuntimeEntry entry;
    entry.kind = EntryKind::Float;
    entry.real = value;
    return declare(registry, name, entry);
}

bool runtime_declare_procedure(RuntimeRegistry* registry, std::u16string_view name, RuntimeProcedure procedure)
{
    RuntimeEntry entry;
    entry.kind = EntryKind::Procedure;
    entry.procedure = procedure;
    return declare(registry, name, entry);
}

bool runtime_declare_variable(RuntimeRegistry* registry, std::u16string_view name, const void* address,
                              RuntimeType type)
{
    if (!address)
        return false;
    RuntimeEntry entry;
    entry.kind = EntryKind::Variable;
    entry.type = type;
    entry.address = address;
    return declare(registry, name, entry);
}

bool runtime_exists(const RuntimeRegistry* registry, std::u16string_view name)
{
    return find(registry, name) != nullptr;
}

std::int64_t runtime_lookup(const RuntimeRegistry* registry, std::u16string_view name)
{
    const RuntimeEntry* entry = find(registry, name);
    if (!entry)
        return 0;
    switch (entry->kind) {
    case EntryKind::Integer: return entry->integer;
    case EntryKind::Float: return truncate_real(entry->real);
    case EntryKind::Procedure: return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(entry->procedure));
    case EntryKind::Variable: return read_variable(*entry);
    }
    return 0;
}

RuntimeProcedure runtime_procedure(const RuntimeRegistry* registry, std::u16string_view name)
{
    const RuntimeEntry* entry = find(registry, name);
    return entry && entry->kind == EntryKind::Procedure ? entry->procedure : nullptr;
}
