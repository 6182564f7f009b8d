#include "services/list.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// The element starts behind the node header, aligned for any scalar type.
constexpr std::size_t ELEMENT_OFFSET = sizeof(ListNode) < alignof(std::max_align_t)
                                           ? alignof(std::max_align_t)
                                           : sizeof(ListNode);

char16_t*& string_slot(ListNode* node)
{
    return *static_cast<char16_t**>(list_element(node));
}

}  // namespace

std::size_t list_type_size(std::int32_t type)
{
    switch (type) {
    case LIST_INT8:
    case LIST_CHAR8:
        return 1;
    case LIST_INT16:
    case LIST_CHARACTER:
    case LIST_CHAR16:
        return 2;
    case LIST_INT32:
    case LIST_INTEGER:
    case LIST_FLOAT32:
        return 4;
    case LIST_FLOAT64:
    case LIST_INT64:
        return 8;
    case LIST_STRING:
        return sizeof(char16_t*);
    default:
        return 0;
    }
}

List* list_new(std::int32_t type, std::size_t element_size)
{
    if (element_size == 0)
        element_size = list_type_size(type);
    if (element_size == 0)
        return nullptr;
    auto* list = new (std::nothrow) List;
    if (!list)
        return nullptr;
    list->type = type;
    list->element_size = element_size;
    return list;
}

void list_free(List* list)
{
    if (!list)
        return;
    ListNode* node = list->first;
    while (node) {
        ListNode* next = node->next;
        if (list->type == LIST_STRING)
            std::free(string_slot(node));
        std::free(node);
        node = next;
    }
    delete list;
}

void* list_add(List* list)
{
    if (!list)
        return nullptr;
    auto* node = static_cast<ListNode*>(std::calloc(1, ELEMENT_OFFSET + list->element_size));
    if (!node)
        return nullptr;
    node->previous = list->last;
    if (list->last)
        list->last->next = node;
    else
        list->first = node;
    list->last = node;
    list->current = node;
    list->current_index = list->count;
    list->index_invalid = false;
    ++list->count;
    return list_element(node);
}

bool list_add_string(List* list, const char16_t* text)
{
    if (!list || list->type != LIST_STRING)
        return false;
    char16_t* copy = nullptr;
    if (text) {
        std::size_t length = 0;
        while (text[length])
            ++length;
        copy = static_cast<char16_t*>(std::malloc((length + 1) * sizeof(char16_t)));
        if (!copy)
            return false;
        std::memcpy(copy, text, (length + 1) * sizeof(char16_t));
    }
    void* element = list_add(list);
    if (!element) {
        std::free(copy);
        return false;
    }
    std::memcpy(element, &copy, sizeof copy);
    return true;
}

void* list_element(ListNode* node)
{
    return reinterpret_cast<char*>(node) + ELEMENT_OFFSET;
}

const void* list_element(const ListNode* node)
{
    return reinterpret_cast<const char*>(node) + ELEMENT_OFFSET;
}

const char16_t* list_string(const ListNode* node)
{
    return *static_cast<const char16_t* const*>(list_element(node));
}

std::ptrdiff_t list_current_index(List* list)
{
    if (!list || !list->current)
        return -1;
    if (list->index_invalid) {
        std::size_t index = 0;
        for (ListNode* node = list->first; node != list->current; node = node->next)
            ++index;
        list->current_index = index;
        list->index_invalid = false;
    }
    return static_cast<std::ptrdiff_t>(list->current_index);
}
