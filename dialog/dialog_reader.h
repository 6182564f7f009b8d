// Reading a dialog definition: one `window` of an XML document becomes a tree of
// elements with every attribute read, ready to be built into controls and laid out.
#pragma once

#include "dialog/dialog_element.h"
#include "dialog/dialog_message.h"
#include "dialog/runtime_registry.h"

struct XmlNode;

// Elements nest at most this deep below the window; panels at most this deep in each other.
constexpr int DIALOG_MAX_DEPTH = 100;
constexpr int DIALOG_MAX_PANELS = 32;

// Finds the window to read: the root element when it is a `window`, else the first
// `window` child of a `dialogs` root. An empty or null name matches the first window;
// otherwise its `name` must equal it without regard to case. Null when none matches.
const XmlNode* dialog_find_window(const XmlNode* root, const char16_t* window_name);

// Reads the named window of the document whose root element is given into an empty
// tree. On a faulty definition the first message is stored, the tree is emptied and the
// result is false. A null registry is an empty one.
bool dialog_read(const XmlNode* root, const char16_t* window_name, const RuntimeRegistry* registry,
                 DialogTree* tree, DialogMessage* message);

// As dialog_read on one `window` element.
bool dialog_read_window(const XmlNode* window, const RuntimeRegistry* registry, DialogTree* tree,
                        DialogMessage* message);

// As dialog_read on a parsed document; a document that is not well-formed is refused
// with a message naming the parser's error and line, rather than read in part.
bool dialog_read_document(ObjectNumber document, const char16_t* window_name, const RuntimeRegistry* registry,
                          DialogTree* tree, DialogMessage* message);
