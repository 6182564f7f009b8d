#include "xml/xml_internal.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

struct XmlArenaBlock {
    XmlArenaBlock* next;
    std::size_t size;  // bytes of storage behind the header
};

namespace {

constexpr std::size_t ALIGNMENT = alignof(void*);
constexpr std::size_t HEADER = (sizeof(XmlArenaBlock) + alignof(std::max_align_t) - 1) & ~(alignof(std::max_align_t) - 1);

std::size_t round_up(std::size_t bytes)
{
    return (bytes + ALIGNMENT - 1) & ~(ALIGNMENT - 1);
}

char* block_storage(XmlArenaBlock* block)
{
    return reinterpret_cast<char*>(block) + HEADER;
}

XmlArenaBlock* new_block(XmlArenaBlock** list, std::size_t size)
{
    if (size > SIZE_MAX - HEADER)
        return nullptr;
    auto* block = static_cast<XmlArenaBlock*>(std::malloc(HEADER + size));
    if (!block)
        return nullptr;
    block->size = size;
    block->next = *list;
    *list = block;
    return block;
}

void free_list(XmlArenaBlock* block)
{
    while (block) {
        XmlArenaBlock* next = block->next;
        std::free(block);
        block = next;
    }
}

bool open_arena_block(XmlDocument* document, std::size_t size)
{
    XmlArenaBlock* block = new_block(&document->arena_blocks, size);
    if (!block)
        return false;
    document->arena_position = block_storage(block);
    document->arena_end = document->arena_position + size;
    return true;
}

}  // namespace

bool xml_arena_begin(XmlDocument* document, std::size_t bytes)
{
    // Room for the error message even when the text is tiny.
    constexpr std::size_t MINIMUM = 256;
    return open_arena_block(document, round_up(bytes < MINIMUM ? MINIMUM : bytes));
}

void* xml_arena_alloc(XmlDocument* document, std::size_t bytes)
{
    if (bytes > XML_ARENA_SEPARATE_ABOVE) {
        XmlArenaBlock* block = new_block(&document->separate_blocks, bytes);
        return block ? block_storage(block) : nullptr;
    }
    bytes = round_up(bytes);
    if (static_cast<std::size_t>(document->arena_end - document->arena_position) < bytes &&
        !open_arena_block(document, XML_ARENA_BLOCK_SIZE))
        return nullptr;
    void* storage = document->arena_position;
    document->arena_position += bytes;
    return storage;
}

const char16_t* xml_arena_string(XmlDocument* document, std::u16string_view text)
{
    if (text.size() >= SIZE_MAX / sizeof(char16_t))
        return nullptr;
    auto* copy = static_cast<char16_t*>(xml_arena_alloc(document, (text.size() + 1) * sizeof(char16_t)));
    if (!copy)
        return nullptr;
    if (!text.empty())
        std::memcpy(copy, text.data(), text.size() * sizeof(char16_t));
    copy[text.size()] = u'\0';
    return copy;
}

void xml_arena_release(XmlDocument* document)
{
    free_list(document->arena_blocks);
    free_list(document->separate_blocks);
    document->arena_blocks = nullptr;
    document->separate_blocks = nullptr;
    document->arena_position = nullptr;
    document->arena_end = nullptr;
}
