#include "services/list.h"

#include "services/text_case.h"

#include <cstring>

namespace {

using CompareFn = int (*)(const ListNode*, const ListNode*);

template <typename T>
T element_value(const ListNode* node)
{
    T value;
    std::memcpy(&value, list_element(node), sizeof value);
    return value;
}

// Negative, zero or positive; values that are unordered (a NaN) compare equal.
template <typename T>
int compare_values(const ListNode* a, const ListNode* b)
{
    const T x = element_value<T>(a);
    const T y = element_value<T>(b);
    return (x > y) - (x < y);
}

// Unsigned code units, the first difference decides; a null string counts as empty. The
// ignore-case order uses the ASCII rule, so a sorted list is the same on every machine.
template <bool IgnoreCase>
int compare_strings(const ListNode* a, const ListNode* b)
{
    const char16_t* x = list_string(a);
    const char16_t* y = list_string(b);
    if (!x)
        x = u"";
    if (!y)
        y = u"";
    for (;; ++x, ++y) {
        char16_t p = IgnoreCase ? text_fold_ascii(*x) : *x;
        char16_t q = IgnoreCase ? text_fold_ascii(*y) : *y;
        if (p != q)
            return p < q ? -1 : 1;
        if (p == 0)
            return 0;
    }
}

CompareFn compare_for(std::int32_t type, bool ignore_case)
{
    switch (type) {
    case LIST_INT8:
        return compare_values<std::int8_t>;
    case LIST_INT16:
        return compare_values<std::int16_t>;
    case LIST_INT32:
    case LIST_INTEGER:
        return compare_values<std::int32_t>;
    case LIST_STRING:
        return ignore_case ? compare_strings<true> : compare_strings<false>;
    case LIST_FLOAT32:
        return compare_values<float>;
    case LIST_CHARACTER:
    case LIST_CHAR16:
        return compare_values<std::uint16_t>;
    case LIST_FLOAT64:
        return compare_values<double>;
    case LIST_INT64:
        return compare_values<std::int64_t>;
    case LIST_CHAR8:
        return compare_values<std::uint8_t>;
    default:
        return nullptr;
    }
}

struct SortOrder {
    CompareFn compare;
    bool descending;

    // The second run's head goes first only when it is strictly in front, which keeps
    // equal elements in their order in both directions.
    bool second_first(const ListNode* first, const ListNode* second) const
    {
        const int result = compare(first, second);
        return descending ? result < 0 : result > 0;
    }
};

// Sorts the chain of count nodes starting at head, linked through next only, and
// returns the new head; the last node's next is null.
ListNode* merge_sort(ListNode* head, std::size_t count, const SortOrder& order)
{
    if (count <= 1) {
        if (head)
            head->next = nullptr;
        return head;
    }
    const std::size_t first_count = count / 2;
    ListNode* second = head;
    for (std::size_t i = 0; i < first_count; ++i)
        second = second->next;
    ListNode* a = merge_sort(head, first_count, order);
    ListNode* b = merge_sort(second, count - first_count, order);

    ListNode merged{};
    ListNode* tail = &merged;
    while (a && b) {
        if (order.second_first(a, b)) {
            tail->next = b;
            b = b->next;
        } else {
            tail->next = a;
            a = a->next;
        }
        tail = tail->next;
    }
    tail->next = a ? a : b;
    return merged.next;
}

}  // namespace

void list_sort(List* list, std::uint32_t options)
{
    if (!list || list->count < 2)
        return;
    const CompareFn compare = compare_for(list->type, (options & SORT_NO_CASE) != 0);
    if (!compare)
        return;
    const SortOrder order{compare, (options & SORT_DESCENDING) != 0};
    ListNode* head = merge_sort(list->first, list->count, order);

    ListNode* previous = nullptr;
    for (ListNode* node = head; node; node = node->next) {
        node->previous = previous;
        previous = node;
    }
    list->first = head;
    list->last = previous;
    list->index_invalid = true;
}
