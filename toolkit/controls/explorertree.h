// Explorer trees (kind 50): the folders of the disk in the platform's tree view, with the
// system's icons. The roots are the documents folder (unless GK_Explorer_NoMyDocuments) and
// the drives; a folder's entries are read when its node is first expanded, sub-folders first,
// files as leaves unless GK_Explorer_NoFiles, in name order with GK_Explorer_AutoSort (else in
// the order the disk gives). The text is the selected node's path (a folder ends in a
// backslash); setting it opens the chain of folders down to that path and selects it. A
// change of the selection raises EVENTTYPE_CHANGE, clicks types 0 to 3, dragging a node
// EVENTTYPE_DRAG_START. A watcher thread keeps the entries of every expanded folder that can be
// seen, and of the selected one, current; a folder stops being watched when its node is
// collapsed (or under a collapsed one) or removed, and is read again when it is expanded once
// more. The watches are capped: the selected folder and the 62 most recently expanded ones
// (see EXPLORER_MOST_WATCHED). A refresh keeps the nodes still there as they are (expanded or
// not), the selection, and the node at the top of the view.
#pragma once

#include "toolkit/controls/explorer_logic.h"
#include "core/object.h"

#include <cstddef>
#include <cstdint>

constexpr int CONTROL_KIND_EXPLORERTREE = 50;

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber explorertree_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* path,
                                 std::uint32_t flags);

// For tests: how many node paths the tree's store holds room for (the nodes shown, and slots
// of deleted nodes waiting to be taken again).
std::size_t explorertree_path_slots(ObjectNumber tree);
