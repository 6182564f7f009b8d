// Code editors (kind 21): the code editor component of Scintilla.dll, loaded from the
// program's own folder when the first code editor is made and kept for the rest of the
// process. The component works in UTF-8; the control's text goes in and out as UTF-16.
// The flags are window styles, passed unchanged. Attribute CODE_EDITOR_READ_ONLY (0 or 1)
// is read-only; the current line (from 0) and the caret's position (in UTF-16 units from
// the start of the text) are the read-only attributes CODE_EDITOR_LINE and
// CODE_EDITOR_POSITION. Font and colours work through the generic operations and apply to
// the whole text (the component's default style, copied to every style).
//
// Events: EVENT_GADGET with EVENTTYPE_CHANGE when the user changes the text (typing,
// deleting, pasting, undo); changes the program makes raise nothing.
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr int CONTROL_KIND_CODE_EDITOR = 21;

constexpr int CODE_EDITOR_READ_ONLY = 1;
constexpr int CODE_EDITOR_LINE = 2;
constexpr int CODE_EDITOR_POSITION = 3;

// The file the component comes from, beside the program.
constexpr char16_t CODE_EDITOR_COMPONENT[] = u"Scintilla.dll";

// Returns the number for GK_ANY, else the platform handle; 0 on failure, also when the
// component cannot be loaded (code_editor_component_loaded then says so).
ObjectNumber code_editor_create(ObjectNumber number, int x, int y, int width, int height, std::uint32_t flags);

// True once the component is loaded in this process.
bool code_editor_component_loaded();

// Sends the component one of its own messages (any feature the kind does not wrap) and
// returns its answer; what it changes raises no events. 0 for a control of another kind.
std::intptr_t code_editor_send(ObjectNumber control, unsigned message, std::uintptr_t wparam, std::intptr_t lparam);
