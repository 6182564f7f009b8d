#include "core/object.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Record {
    std::uintptr_t handle;
    int payload;
};

ObjectTable* g_table = nullptr;
std::vector<ObjectNumber> g_freed;

// Mirrors a component's free operation: release the resource, then free the number.
void free_record(ObjectNumber number)
{
    if (number == GK_ANY) {
        object_free_all(g_table);
        return;
    }
    if (!object_get(g_table, number))
        return;
    g_freed.push_back(number);
    object_free(g_table, number);
}

Record* make(ObjectNumber number, std::uintptr_t handle, ObjectNumber* made = nullptr)
{
    auto* record = static_cast<Record*>(object_new(g_table, number));
    if (record) {
        record->handle = handle;
        if (made)
            *made = object_number_for(number, record);
    }
    return record;
}

class ObjectTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_table = object_table_new(sizeof(Record), 16, free_record);
        g_freed.clear();
    }
    void TearDown() override { object_table_delete(g_table); }
};

TEST_F(ObjectTableTest, FixedNumberBeyondTheEndGrowsByTheStep)
{
    EXPECT_EQ(g_table->slot_count, 16u);
    ASSERT_NE(make(100, 7), nullptr);
    EXPECT_EQ(g_table->slot_count, 116u);
    EXPECT_NE(object_get(g_table, 100), nullptr);
    EXPECT_EQ(object_get(g_table, 99), nullptr);
}

TEST_F(ObjectTableTest, ReusingAFixedNumberDestroysTheFirstObject)
{
    Record* first = make(3, 11);
    first->payload = 42;
    Record* second = make(3, 22);
    ASSERT_EQ(g_freed, std::vector<ObjectNumber>{3});
    EXPECT_EQ(second, first);  // the slot's memory is reused
    EXPECT_EQ(second->payload, 0);
    EXPECT_EQ(static_cast<Record*>(object_get(g_table, 3))->handle, 22u);
    EXPECT_EQ(object_find(g_table, 3), second);  // the synonym
}

TEST_F(ObjectTableTest, FreedFixedNumberIsGoneAndComesBackZeroed)
{
    make(5, 9)->payload = 7;
    object_free(g_table, 5);
    EXPECT_EQ(object_get(g_table, 5), nullptr);
    EXPECT_EQ(object_find(g_table, 5), nullptr);
    auto* again = static_cast<Record*>(object_new(g_table, 5));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->handle, 0u);
    EXPECT_EQ(again->payload, 0);
    EXPECT_TRUE(g_freed.empty());  // a freed record needs no destroying
}

TEST_F(ObjectTableTest, RecordWithoutHandleIsNotLive)
{
    ASSERT_NE(object_new(g_table, 2), nullptr);
    EXPECT_EQ(object_get(g_table, 2), nullptr);
}

TEST_F(ObjectTableTest, DynamicNumbersAreNeverMinusOneNorSlotIndexesAndStayValid)
{
    std::vector<ObjectNumber> numbers(200);
    for (auto& number : numbers) {
        ASSERT_NE(make(GK_ANY, 1, &number), nullptr);
        EXPECT_NE(number, GK_ANY);
        EXPECT_FALSE(number >= 0 && static_cast<std::size_t>(number) < g_table->slot_count);
    }
    for (std::size_t i = 0; i < numbers.size(); i += 2)
        object_free(g_table, numbers[i]);
    ObjectNumber later = 0;
    make(GK_ANY, 1, &later);
    ObjectNumber keeper = numbers[101];
    EXPECT_NE(object_get(g_table, keeper), nullptr);
    EXPECT_NE(object_find(g_table, later), nullptr);
    object_free(g_table, keeper);
    EXPECT_EQ(object_find(g_table, keeper), nullptr);
    EXPECT_EQ(object_get(g_table, keeper), nullptr);
    EXPECT_EQ(object_find(g_table, numbers[0]), nullptr);
}

TEST_F(ObjectTableTest, NumbersThatNameNothingAreRefusedWithoutDereferencing)
{
    ObjectNumber dynamic = 0;
    make(GK_ANY, 1, &dynamic);
    for (ObjectNumber bogus : {ObjectNumber(-1), ObjectNumber(-7), ObjectNumber(16), ObjectNumber(123456789),
                               dynamic + 8, dynamic - 16}) {
        EXPECT_EQ(object_get(g_table, bogus), nullptr) << bogus;
        EXPECT_EQ(object_find(g_table, bogus), nullptr) << bogus;
        object_free(g_table, bogus);
    }
    EXPECT_NE(object_get(g_table, dynamic), nullptr);
    EXPECT_EQ(object_new(g_table, -2), nullptr);
    // Absurd fixed numbers are refused instead of growing the slot array without bound.
    EXPECT_EQ(object_new(g_table, 2147483647), nullptr);
    EXPECT_EQ(object_new(g_table, OBJECT_FIXED_LIMIT - 15), nullptr);
    EXPECT_NE(object_new(g_table, OBJECT_FIXED_LIMIT - 16), nullptr);
    EXPECT_EQ(g_table->slot_count, static_cast<std::size_t>(OBJECT_FIXED_LIMIT));
}

TEST_F(ObjectTableTest, EnumerationListsFixedAscendingThenDynamicOldestFirst)
{
    ObjectNumber a = 0, b = 0, c = 0;
    make(GK_ANY, 1, &a);
    make(9, 1);
    make(GK_ANY, 1, &b);
    make(1, 1);
    make(GK_ANY, 1, &c);
    object_new(g_table, 4);  // not live: skipped
    std::vector<ObjectNumber> seen;
    ObjectNumber number;
    object_enum_reset(g_table);
    while (object_enum_next(g_table, &number))
        seen.push_back(number);
    EXPECT_EQ(seen, (std::vector<ObjectNumber>{1, 9, a, b, c}));
}

TEST_F(ObjectTableTest, FreeAllFreesSlotsInOrderThenDynamicNewestFirst)
{
    ObjectNumber a = 0, b = 0;
    make(GK_ANY, 1, &a);
    make(7, 1);
    make(GK_ANY, 1, &b);
    make(2, 1);
    free_record(GK_ANY);
    EXPECT_EQ(g_freed, (std::vector<ObjectNumber>{2, 7, b, a}));
    EXPECT_EQ(g_table->dynamic_head, nullptr);
    object_enum_reset(g_table);
    EXPECT_EQ(object_enum_next(g_table, nullptr), nullptr);
}

}  // namespace
