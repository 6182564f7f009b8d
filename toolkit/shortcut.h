// A window's keyboard shortcuts as a plain list whose entries have the layout of the
// platform's accelerator entries, and the choice of the next control for Tab.
#pragma once

#include <cstddef>
#include <cstdint>

// Modifier byte bits of an entry (the platform's accelerator flags).
constexpr std::uint8_t SHORTCUT_FLAG_VIRTKEY = 0x01;
constexpr std::uint8_t SHORTCUT_FLAG_NOINVERT = 0x02;
constexpr std::uint8_t SHORTCUT_FLAG_SHIFT = 0x04;
constexpr std::uint8_t SHORTCUT_FLAG_CONTROL = 0x08;
constexpr std::uint8_t SHORTCUT_FLAG_ALT = 0x10;

struct ShortcutEntry {
    std::uint8_t modifiers;
    std::uint16_t key;
    std::uint16_t item;
};

struct ShortcutList {
    ShortcutEntry* entries = nullptr;
    std::uint32_t count = 0;
    std::uint32_t capacity = 0;
};

// The entry for a key given as virtual key code plus SHORTCUT_SHIFT/CONTROL/ALT bits.
ShortcutEntry shortcut_entry(int key, int item);

// Adds the entry, or replaces the item of the entry with the same key and modifiers.
// Returns 0 when memory runs out (the list is unchanged).
int shortcut_list_add(ShortcutList* list, ShortcutEntry entry);
// Removes the entry with the key and modifiers of `key`; -1 removes all. Returns the number
// of entries removed.
int shortcut_list_remove(ShortcutList* list, int key);
void shortcut_list_free(ShortcutList* list);

// Index of the control that Tab (forward) or Shift+Tab moves the focus to, among `count`
// candidates of which `current` has the focus (-1 when none does); -1 without candidates.
int shortcut_focus_choice(int current, int count, bool forward);
