// Explorer lists (kind 49): the files and folders of one folder in the platform's list view,
// with the system's icons and type names, columns name, size, type and date changed. The text
// is a folder, optionally followed by file patterns ("C:\notes\*.txt;*.md"), "" for the
// documents folder; reading the text gives the folder shown. A ".." row leads up. A double
// click or Return on a folder opens it and Backspace goes up, raising EVENTTYPE_CHANGE, as a
// change of the selection does; clicks raise types 0 to 3, dragging a row
// EVENTTYPE_DRAG_START. Items are the rows (".." first when shown); an item's state is 1 when
// it is selected. A watcher thread keeps the rows current, keeping selection and scroll.
// A text that names no readable folder shows no rows. A folder is read 2,000 entries at a
// time, the rest between other messages: a folder newly shown shows its first entries at once
// and every one once read; a folder read again after a change keeps its rows until then.
#pragma once

#include "toolkit/controls/explorer_logic.h"
#include "core/object.h"

#include <cstdint>

constexpr int CONTROL_KIND_EXPLORERLIST = 49;

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber explorerlist_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* path,
                                 std::uint32_t flags);
