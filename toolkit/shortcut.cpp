#include "toolkit/shortcut.h"

#include "toolkit/window.h"

#include <cstdlib>

namespace {

constexpr std::uint8_t KEY_MODIFIERS = SHORTCUT_FLAG_SHIFT | SHORTCUT_FLAG_CONTROL | SHORTCUT_FLAG_ALT;

bool same_key(const ShortcutEntry& a, const ShortcutEntry& b)
{
    return a.key == b.key && (a.modifiers & KEY_MODIFIERS) == (b.modifiers & KEY_MODIFIERS);
}

}  // namespace

ShortcutEntry shortcut_entry(int key, int item)
{
    std::uint8_t modifiers = SHORTCUT_FLAG_VIRTKEY | SHORTCUT_FLAG_NOINVERT;
    if (key & SHORTCUT_SHIFT)
        modifiers |= SHORTCUT_FLAG_SHIFT;
    if (key & SHORTCUT_CONTROL)
        modifiers |= SHORTCUT_FLAG_CONTROL;
    if (key & SHORTCUT_ALT)
        modifiers |= SHORTCUT_FLAG_ALT;
    return ShortcutEntry{modifiers, static_cast<std::uint16_t>(key & 0xFFFF), static_cast<std::uint16_t>(item)};
}

int shortcut_list_add(ShortcutList* list, ShortcutEntry entry)
{
    for (std::uint32_t i = 0; i < list->count; ++i) {
        if (same_key(list->entries[i], entry)) {
            list->entries[i].item = entry.item;
            return 1;
        }
    }
    if (list->count == list->capacity) {
        std::uint32_t capacity = list->capacity ? list->capacity * 2 : 8;
        void* grown = std::realloc(list->entries, capacity * sizeof(ShortcutEntry));
        if (!grown)
            return 0;
        list->entries = static_cast<ShortcutEntry*>(grown);
        list->capacity = capacity;
    }
    list->entries[list->count++] = entry;
    return 1;
}

int shortcut_list_remove(ShortcutList* list, int key)
{
    if (key == -1) {
        int removed = static_cast<int>(list->count);
        list->count = 0;
        return removed;
    }
    ShortcutEntry wanted = shortcut_entry(key, 0);
    std::uint32_t kept = 0;
    for (std::uint32_t i = 0; i < list->count; ++i) {
        if (!same_key(list->entries[i], wanted))
            list->entries[kept++] = list->entries[i];
    }
    int removed = static_cast<int>(list->count - kept);
    list->count = kept;
    return removed;
}

void shortcut_list_free(ShortcutList* list)
{
    std::free(list->entries);
    *list = ShortcutList{};
}

int shortcut_focus_choice(int current, int count, bool forward)
{
    if (count <= 0)
        return -1;
    if (current < 0 || current >= count)
        return forward ? 0 : count - 1;
    if (forward)
        return current + 1 < count ? current + 1 : 0;
    return current > 0 ? current - 1 : count - 1;
}
