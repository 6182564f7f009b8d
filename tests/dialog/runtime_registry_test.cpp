#include "dialog/runtime_registry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

void procedure() {}

TEST(RuntimeRegistry, EntriesAnswerByKindWithoutRegardToCase)
{
    RuntimeRegistryPtr registry = runtime_registry_new();
    ASSERT_TRUE(registry);
    EXPECT_FALSE(runtime_exists(registry.get(), u"answer"));
    EXPECT_EQ(runtime_lookup(registry.get(), u"answer"), 0);
    EXPECT_TRUE(runtime_declare_integer(registry.get(), u"Answer", 42));
    EXPECT_TRUE(runtime_exists(registry.get(), u"ANSWER"));
    EXPECT_EQ(runtime_lookup(registry.get(), u"answer"), 42);
    EXPECT_TRUE(runtime_declare_integer(registry.get(), u"answer", -7));  // replaces
    EXPECT_EQ(runtime_lookup(registry.get(), u"Answer"), -7);
    EXPECT_FALSE(runtime_declare_integer(registry.get(), u"", 1));

    runtime_declare_float(registry.get(), u"down", -2.7);
    runtime_declare_float(registry.get(), u"nan", std::nan(""));
    runtime_declare_float(registry.get(), u"huge", 1e300);
    EXPECT_EQ(runtime_lookup(registry.get(), u"down"), -2);
    EXPECT_EQ(runtime_lookup(registry.get(), u"nan"), 0);
    EXPECT_EQ(runtime_lookup(registry.get(), u"huge"), std::numeric_limits<std::int64_t>::max());

    runtime_declare_procedure(registry.get(), u"run", procedure);
    EXPECT_EQ(runtime_procedure(registry.get(), u"RUN"), &procedure);
    EXPECT_NE(runtime_lookup(registry.get(), u"run"), 0);
    EXPECT_EQ(runtime_procedure(registry.get(), u"answer"), nullptr);

    EXPECT_FALSE(runtime_exists(nullptr, u"answer"));
    EXPECT_EQ(runtime_lookup(nullptr, u"answer"), 0);
}

TEST(RuntimeRegistry, VariablesAreReadAtEachLookupByTheirType)
{
    RuntimeRegistryPtr registry = runtime_registry_new();
    std::int8_t i8 = -5;
    std::int16_t i16 = -300;
    std::int32_t i32 = -70000;
    float f32 = -3.9f;
    unsigned char c8 = 200;
    double f64 = 12345.99;
    std::uint16_t c16 = 60000;
    runtime_declare_variable(registry.get(), u"i8", &i8, RuntimeType::Int8);
    runtime_declare_variable(registry.get(), u"i16", &i16, RuntimeType::Int16);
    runtime_declare_variable(registry.get(), u"i32", &i32, RuntimeType::Int32);
    runtime_declare_variable(registry.get(), u"int", &i32, RuntimeType::Integer);
    runtime_declare_variable(registry.get(), u"f32", &f32, RuntimeType::Float32);
    runtime_declare_variable(registry.get(), u"c8", &c8, RuntimeType::Char8);
    runtime_declare_variable(registry.get(), u"f64", &f64, RuntimeType::Float64);
    runtime_declare_variable(registry.get(), u"c16", &c16, RuntimeType::Char16);
    EXPECT_FALSE(runtime_declare_variable(registry.get(), u"none", nullptr, RuntimeType::Int8));
    EXPECT_EQ(runtime_lookup(registry.get(), u"i8"), -5);
    EXPECT_EQ(runtime_lookup(registry.get(), u"i16"), -300);
    EXPECT_EQ(runtime_lookup(registry.get(), u"i32"), -70000);
    EXPECT_EQ(runtime_lookup(registry.get(), u"int"), -70000);
    EXPECT_EQ(runtime_lookup(registry.get(), u"f32"), -3);
    EXPECT_EQ(runtime_lookup(registry.get(), u"c8"), 200);
    EXPECT_EQ(runtime_lookup(registry.get(), u"f64"), 12345);
    EXPECT_EQ(runtime_lookup(registry.get(), u"c16"), 60000);
    i32 = 9;
    EXPECT_EQ(runtime_lookup(registry.get(), u"i32"), 9);
}

}
