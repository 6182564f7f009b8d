// A doubly linked list of elements of one type, stored directly behind each node.
// A list of strings owns a copy of each string (or holds null).
#pragma once

#include <cstddef>
#include <cstdint>

// Element type codes.
constexpr std::int32_t LIST_INT8 = 1;
constexpr std::int32_t LIST_INT16 = 3;
constexpr std::int32_t LIST_INT32 = 5;
constexpr std::int32_t LIST_STRING = 8;        // a char16_t* to a zero-terminated string, or null
constexpr std::int32_t LIST_FLOAT32 = 9;
constexpr std::int32_t LIST_CHARACTER = 11;    // 16-bit character
constexpr std::int32_t LIST_FLOAT64 = 12;
constexpr std::int32_t LIST_INT64 = 13;
constexpr std::int32_t LIST_INTEGER = 21;      // a second code for 32-bit integers
constexpr std::int32_t LIST_CHAR8 = 24;
constexpr std::int32_t LIST_CHAR16 = 25;

// list_sort options.
constexpr std::uint32_t SORT_DESCENDING = 1;
constexpr std::uint32_t SORT_NO_CASE = 2;

struct ListNode {
    ListNode* next;
    ListNode* previous;
};

struct List {
    ListNode* first = nullptr;
    ListNode* last = nullptr;
    ListNode* current = nullptr;
    std::size_t count = 0;
    std::int32_t type = 0;
    std::size_t element_size = 0;
    std::size_t current_index = 0;   // position of current, valid unless index_invalid
    bool index_invalid = false;
};

// The size of an element of a type code; 0 for a code that is not one of the above.
std::size_t list_type_size(std::int32_t type);

// A new empty list. element_size 0 takes the type's own size; a list of any other
// type code needs an explicit element size. Null when neither gives a size.
List* list_new(std::int32_t type, std::size_t element_size = 0);

// Frees every node, the strings of a string list, and the list itself.
void list_free(List* list);

// Appends a zero-filled element and makes it the current one; null when memory runs out.
void* list_add(List* list);

// Appends a copy of the text (null stays null) to a string list; false on failure.
bool list_add_string(List* list, const char16_t* text);

// The element stored behind a node.
void* list_element(ListNode* node);
const void* list_element(const ListNode* node);

// The string of a node of a string list (possibly null).
const char16_t* list_string(const ListNode* node);

// The index of the current node, counted again when the cached one is invalid;
// -1 without a current node.
std::ptrdiff_t list_current_index(List* list);

// Puts the elements in order by relinking the nodes: a stable merge sort, ascending
// unless SORT_DESCENDING; SORT_NO_CASE folds A-Z to a-z when comparing strings.
// A null list, or a list of an unknown type code, is left as it is.
void list_sort(List* list, std::uint32_t options);
