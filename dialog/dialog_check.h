// Checking a dialog definition for its author: every message the engine would give while
// reading each window (not only the first), and warnings for what the engine accepts but
// an author almost never means: names no element or attribute has, numbers that are not
// numbers, a name given twice in a window, attributes the element does not read.
#pragma once

#include "dialog/runtime_registry.h"
#include "core/object.h"

#include <cstdint>
#include <string>
#include <vector>

struct XmlNode;

struct DialogCheckProblem {
    std::int32_t line = 0;    // 1-based place of the element (or of the parser's error); 0 when unknown
    std::int32_t column = 0;
    bool error = false;       // the engine refuses the definition; else a warning
    std::u16string text;
};

// The `window` elements a definition declares: the root when it is one, else each
// `window` child of a `dialogs` root.
std::vector<const XmlNode*> dialog_check_windows(const XmlNode* root);

// Every problem of a parsed definition, ordered by place. A definition that is not
// well-formed gives the parser's one error; one without a window gives "Dialog window not
// found". A null registry is an empty one.
std::vector<DialogCheckProblem> dialog_check_document(ObjectNumber document, const RuntimeRegistry* registry);

// Windows build: builds the window's controls without showing it and closes it again;
// the platform's refusal, if any (nothing when the window does not read cleanly).
std::vector<DialogCheckProblem> dialog_check_build(const XmlNode* window);

// The nearest of the names to the given one by edits (ASCII case ignored), null when none
// is close enough to be meant.
const char16_t* dialog_check_nearest(std::u16string_view name, const std::vector<const char16_t*>& names);
