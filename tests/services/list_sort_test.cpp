#include "services/list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

struct ListDeleter {
    void operator()(List* list) const { list_free(list); }
};
using ListPtr = std::unique_ptr<List, ListDeleter>;

std::vector<ListNode*> nodes_of(const List* list)
{
    std::vector<ListNode*> nodes;
    for (ListNode* node = list->first; node; node = node->next)
        nodes.push_back(node);
    return nodes;
}

// The links in both directions agree with the forward order and the count.
void expect_well_linked(const List* list)
{
    std::vector<ListNode*> forward = nodes_of(list);
    ASSERT_EQ(forward.size(), list->count);
    std::vector<ListNode*> backward;
    for (ListNode* node = list->last; node; node = node->previous)
        backward.push_back(node);
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(forward, backward);
}

template <typename T>
ListPtr make_list(std::int32_t type, const std::vector<T>& values)
{
    ListPtr list(list_new(type));
    for (const T& value : values)
        std::memcpy(list_add(list.get()), &value, sizeof value);
    return list;
}

ListPtr make_string_list(const std::vector<const char16_t*>& values)
{
    ListPtr list(list_new(LIST_STRING));
    for (const char16_t* value : values)
        EXPECT_TRUE(list_add_string(list.get(), value));
    return list;
}

std::vector<std::u16string> strings_of(const List* list)
{
    std::vector<std::u16string> out;
    for (ListNode* node = list->first; node; node = node->next)
        out.push_back(list_string(node) ? list_string(node) : u"<null>");
    return out;
}

// Sorts a copy of the node order with std::stable_sort and the given "less", then
// checks that list_sort produced the same node order: elements were relinked, not
// copied, and equal ones kept their order.
template <typename Less>
void expect_sorted_like_reference(List* list, std::uint32_t options, Less less)
{
    std::vector<ListNode*> expected = nodes_of(list);
    std::stable_sort(expected.begin(), expected.end(), less);
    ListNode* current = list->current;
    list_sort(list, options);
    expect_well_linked(list);
    EXPECT_EQ(nodes_of(list), expected);
    EXPECT_EQ(list->current, current);
    if (current) {
        auto position = std::find(expected.begin(), expected.end(), current) - expected.begin();
        EXPECT_EQ(list_current_index(list), position);
    }
}

template <typename T>
T value_of(const ListNode* node)
{
    T value;
    std::memcpy(&value, list_element(node), sizeof value);
    return value;
}

// Random values of T drawn from a small range (so that many are equal) or the full one.
template <typename T>
std::vector<T> random_values(std::mt19937_64& random, std::size_t count, bool few_distinct)
{
    std::vector<T> values(count);
    for (T& value : values) {
        if constexpr (std::is_floating_point_v<T>) {
            value = few_distinct ? static_cast<T>(static_cast<int>(random() % 7) - 3) * T(0.5)
                                 : static_cast<T>(std::ldexp(static_cast<double>(static_cast<std::int64_t>(random())), -40));
        } else {
            std::uint64_t bits = few_distinct ? random() % 5 + (random() & 1 ? 0 : ~std::uint64_t{0} - 4) : random();
            value = static_cast<T>(bits);
        }
    }
    return values;
}

template <typename T>
void check_type(std::int32_t type)
{
    std::mt19937_64 random(static_cast<std::uint64_t>(type) * 7919);
    for (std::size_t count : {0, 1, 2, 3, 4, 5, 7, 8, 9, 31, 100, 1000, 4097}) {
        for (bool few : {true, false}) {
            std::vector<T> values = random_values<T>(random, count, few);
            ListPtr ascending = make_list(type, values);
            expect_sorted_like_reference(ascending.get(), 0, [](const ListNode* a, const ListNode* b) {
                return value_of<T>(a) < value_of<T>(b);
            });
            ListPtr descending = make_list(type, values);
            expect_sorted_like_reference(descending.get(), SORT_DESCENDING, [](const ListNode* a, const ListNode* b) {
                return value_of<T>(b) < value_of<T>(a);
            });
            ListPtr ignored_case = make_list(type, values);
            expect_sorted_like_reference(ignored_case.get(), SORT_NO_CASE, [](const ListNode* a, const ListNode* b) {
                return value_of<T>(a) < value_of<T>(b);
            });
            if (::testing::Test::HasFailure())
                return;
        }
    }
}

// The case-insensitive reference folds only A-Z, through a table.
std::u16string fold_for_reference(const char16_t* text)
{
    static const char16_t* const UPPER = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    static const char16_t* const LOWER = u"abcdefghijklmnopqrstuvwxyz";
    std::u16string out = text ? text : u"";
    for (char16_t& unit : out) {
        for (int i = 0; i < 26; ++i) {
            if (unit == UPPER[i])
                unit = LOWER[i];
        }
    }
    return out;
}

std::u16string plain_for_reference(const char16_t* text)
{
    return text ? std::u16string(text) : std::u16string();
}

}  // namespace

TEST(ListSort, EveryNumericTypeBothDirections)
{
    check_type<std::int8_t>(LIST_INT8);
    check_type<std::int16_t>(LIST_INT16);
    check_type<std::int32_t>(LIST_INT32);
    check_type<std::int32_t>(LIST_INTEGER);
    check_type<float>(LIST_FLOAT32);
    check_type<std::uint16_t>(LIST_CHARACTER);
    check_type<double>(LIST_FLOAT64);
    check_type<std::int64_t>(LIST_INT64);
    check_type<std::uint8_t>(LIST_CHAR8);
    check_type<std::uint16_t>(LIST_CHAR16);
}

TEST(ListSort, SignedAndUnsignedOrder)
{
    ListPtr integers = make_list<std::int32_t>(LIST_INT32, {-1, 2, -5});
    list_sort(integers.get(), 0);
    std::vector<std::int32_t> sorted;
    for (ListNode* node : nodes_of(integers.get()))
        sorted.push_back(value_of<std::int32_t>(node));
    EXPECT_EQ(sorted, (std::vector<std::int32_t>{-5, -1, 2}));

    // 0xFF is 255 as an 8-bit character but -1 as an 8-bit integer.
    ListPtr characters = make_list<std::uint8_t>(LIST_CHAR8, {0xFF, 0x01});
    list_sort(characters.get(), 0);
    EXPECT_EQ(value_of<std::uint8_t>(characters->first), 0x01);
    ListPtr bytes = make_list<std::uint8_t>(LIST_INT8, {0x01, 0xFF});
    list_sort(bytes.get(), 0);
    EXPECT_EQ(value_of<std::uint8_t>(bytes->first), 0xFF);
}

TEST(ListSort, FloatsWithSignedZeroAndNaNStayStable)
{
    ListPtr list = make_list<double>(LIST_FLOAT64, {0.0, -0.0, -1.5, 1e300, -1e300});
    expect_sorted_like_reference(list.get(), 0, [](const ListNode* a, const ListNode* b) {
        return value_of<double>(a) < value_of<double>(b);
    });
    EXPECT_FALSE(std::signbit(value_of<double>(list->first->next->next)));  // 0.0 kept before -0.0
    ListPtr with_nan = make_list<float>(LIST_FLOAT32, {2.0f, NAN, 1.0f, NAN});
    list_sort(with_nan.get(), 0);
    expect_well_linked(with_nan.get());
}

TEST(ListSort, StringsWithCase)
{
    ListPtr names = make_string_list({u"Time-010.txt", u"Time-002.txt", u"Time-009.txt", u"Time-100.txt"});
    list_sort(names.get(), 0);
    EXPECT_EQ(strings_of(names.get()),
              (std::vector<std::u16string>{u"Time-002.txt", u"Time-009.txt", u"Time-010.txt", u"Time-100.txt"}));

    ListPtr letters = make_string_list({u"a", u"B", u"ab", u"", u"\u00e9", u"\U0001F600", u"\uFFFF"});
    list_sort(letters.get(), 0);
    EXPECT_EQ(strings_of(letters.get()),
              (std::vector<std::u16string>{u"", u"B", u"a", u"ab", u"\u00e9", u"\U0001F600", u"\uFFFF"}));
}

TEST(ListSort, StringsIgnoringCase)
{
    ListPtr fruit = make_string_list({u"cherry", u"Banana", u"apple"});
    list_sort(fruit.get(), SORT_NO_CASE);
    EXPECT_EQ(strings_of(fruit.get()), (std::vector<std::u16string>{u"apple", u"Banana", u"cherry"}));
    list_sort(fruit.get(), SORT_NO_CASE | SORT_DESCENDING);
    EXPECT_EQ(strings_of(fruit.get()), (std::vector<std::u16string>{u"cherry", u"Banana", u"apple"}));

    ListPtr same = make_string_list({u"note", u"Note", u"NOTE", u"a"});
    list_sort(same.get(), SORT_NO_CASE);
    EXPECT_EQ(strings_of(same.get()), (std::vector<std::u16string>{u"a", u"note", u"Note", u"NOTE"}));
    list_sort(same.get(), SORT_NO_CASE | SORT_DESCENDING);
    EXPECT_EQ(strings_of(same.get()), (std::vector<std::u16string>{u"note", u"Note", u"NOTE", u"a"}));

    // Only A-Z fold: the underscore sorts before every letter, an accented capital stays apart.
    ListPtr others = make_string_list({u"b", u"_", u"A", u"\u00c9", u"\u00e9", u"Z"});
    list_sort(others.get(), SORT_NO_CASE);
    EXPECT_EQ(strings_of(others.get()),
              (std::vector<std::u16string>{u"_", u"A", u"b", u"Z", u"\u00c9", u"\u00e9"}));
}

TEST(ListSort, NullStringsSortFirst)
{
    ListPtr list = make_string_list({u"b", nullptr, u"A", u"", nullptr});
    list_sort(list.get(), 0);
    EXPECT_EQ(strings_of(list.get()), (std::vector<std::u16string>{u"<null>", u"", u"<null>", u"A", u"b"}));
    list_sort(list.get(), SORT_DESCENDING | SORT_NO_CASE);
    EXPECT_EQ(strings_of(list.get()), (std::vector<std::u16string>{u"b", u"A", u"<null>", u"", u"<null>"}));
}

TEST(ListSort, RandomStringsAgainstStableSort)
{
    std::mt19937 random(8);
    const char16_t alphabet[] = u"aAbB_zZ\u00e9\u00c9\U0001F600";
    for (std::size_t count : {2, 3, 17, 500, 3000}) {
        std::vector<std::u16string> storage(count);
        std::vector<const char16_t*> texts(count);
        for (std::size_t i = 0; i < count; ++i) {
            std::size_t length = random() % 4;
            for (std::size_t k = 0; k < length; ++k)
                storage[i].push_back(alphabet[random() % (sizeof alphabet / sizeof alphabet[0] - 1)]);
            texts[i] = random() % 10 == 0 ? nullptr : storage[i].c_str();
        }
        for (std::uint32_t options = 0; options < 4; ++options) {
            ListPtr list = make_string_list(texts);
            auto key = options & SORT_NO_CASE ? fold_for_reference : plain_for_reference;
            bool descending = options & SORT_DESCENDING;
            expect_sorted_like_reference(list.get(), options, [&](const ListNode* a, const ListNode* b) {
                return descending ? key(list_string(b)) < key(list_string(a))
                                  : key(list_string(a)) < key(list_string(b));
            });
        }
    }
}

TEST(ListSort, CurrentElementIsKept)
{
    ListPtr list = make_list<std::int16_t>(LIST_INT16, {5, 4, 3, 2, 1});
    ListNode* current = list->current;  // the last one added, 1
    EXPECT_EQ(list_current_index(list.get()), 4);
    list_sort(list.get(), 0);
    EXPECT_EQ(list->current, current);
    EXPECT_TRUE(list->index_invalid);
    EXPECT_EQ(list_current_index(list.get()), 0);
}

TEST(ListSort, EmptyNullAndUnknownListsAreUntouched)
{
    list_sort(nullptr, 0);
    ListPtr empty(list_new(LIST_STRING));
    list_sort(empty.get(), 3);
    EXPECT_EQ(empty->first, nullptr);
    EXPECT_EQ(empty->last, nullptr);
    EXPECT_EQ(empty->count, 0u);
    EXPECT_FALSE(empty->index_invalid);

    ListPtr records(list_new(99, sizeof(std::int32_t)));
    for (std::int32_t value : {3, 1, 2})
        std::memcpy(list_add(records.get()), &value, sizeof value);
    std::vector<ListNode*> before = nodes_of(records.get());
    list_sort(records.get(), 0);
    EXPECT_EQ(nodes_of(records.get()), before);
    EXPECT_EQ(list_new(99), nullptr);
}
