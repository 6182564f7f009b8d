// The runtime registry: names that a program declares for its dialog definitions
// (constants, variables and procedures), matched without regard to case. A dialog
// definition can use them as numbers, flag names and event procedures.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

// A procedure that an event attribute names.
using RuntimeProcedure = void (*)();

// How a variable's stored reference is read.
enum class RuntimeType : std::uint8_t {
    Int8,       // signed 8-bit
    Int16,      // signed 16-bit
    Int32,      // signed 32-bit
    Float32,    // truncated toward zero
    Char8,      // unsigned 8-bit character
    Float64,    // truncated toward zero
    Integer,    // 32-bit integer
    Char16,     // unsigned 16-bit character
};

struct RuntimeRegistry;

struct RuntimeRegistryDeleter {
    void operator()(RuntimeRegistry* registry) const;
};
using RuntimeRegistryPtr = std::unique_ptr<RuntimeRegistry, RuntimeRegistryDeleter>;

// An empty registry (1024 buckets); null when memory runs out.
RuntimeRegistryPtr runtime_registry_new();

// Each declaration replaces an earlier entry of the same name; false for an empty name.
bool runtime_declare_integer(RuntimeRegistry* registry, std::u16string_view name, std::int64_t value);
bool runtime_declare_float(RuntimeRegistry* registry, std::u16string_view name, double value);
bool runtime_declare_procedure(RuntimeRegistry* registry, std::u16string_view name, RuntimeProcedure procedure);
// The variable is read at every lookup; it must outlive its entry.
bool runtime_declare_variable(RuntimeRegistry* registry, std::u16string_view name, const void* address,
                              RuntimeType type);

// A null registry is empty.
bool runtime_exists(const RuntimeRegistry* registry, std::u16string_view name);

// The entry's integer: an integer constant's value, a procedure's address, a float
// truncated toward zero (saturated, NaN gives 0), a variable's current value; 0 when
// the name is missing.
std::int64_t runtime_lookup(const RuntimeRegistry* registry, std::u16string_view name);

// The procedure of that name; null when missing or not a procedure.
RuntimeProcedure runtime_procedure(const RuntimeRegistry* registry, std::u16string_view name);
