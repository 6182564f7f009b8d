// Explorer combos (kind 51): a drop-down list of the documents folder (unless
// GK_Explorer_NoMyDocuments), the drives and, under its drive, the chain of folders down to
// the current path, indented, with the system's icons; GK_Explorer_DrivesOnly lists only the
// drives. The text is the current path (a folder ending in a backslash); choosing an item
// makes it the text and raises EVENTTYPE_CHANGE. With GK_Explorer_Editable a path can be typed:
// one that names a folder is taken on Return (raising change), another puts the current text
// back. Items are the listed entries' texts.
#pragma once

#include "toolkit/controls/explorer_logic.h"
#include "core/object.h"

#include <cstdint>

constexpr int CONTROL_KIND_EXPLORERCOMBO = 51;

// Returns the number for GK_ANY, else the platform handle; 0 on failure. A text that names
// no folder leaves the current path empty.
ObjectNumber explorercombo_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* path,
                                  std::uint32_t flags);
