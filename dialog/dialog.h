// Dialogs: numbered objects that turn one `window` element of a dialog definition into a
// live window with its controls, lay it out, follow its resizing and answer lookups by
// name. The first error met is kept in the dialog.
#pragma once

#include "core/object.h"

#include <cstdint>
#include <string>

struct RuntimeRegistry;

// Creates the dialog table and the window and part maps; 0 when memory runs out.
int dialog_start();
// Frees every dialog.
void dialog_end();

// A new dialog without a window: the new number for GK_ANY, a non-zero value for a fixed
// number, 0 on failure.
ObjectNumber dialog_create(ObjectNumber number);

// Opens the window of the definition (an XML document number) whose name matches, builds
// its controls, lays it out at max(given, natural) size, centres and shows it as its flags
// say. Returns 1 when the window is open; otherwise 0, no window is left and the dialog
// keeps the message.
int dialog_open(ObjectNumber dialog, ObjectNumber document, const char16_t* window_name, int x = 0, int y = 0,
                int width = 0, int height = 0, void* parent = nullptr);

// The window's number, -1 for a number that names no dialog or a dialog without a window.
ObjectNumber dialog_window(ObjectNumber dialog);

// The control of the first element with that name (case ignored), -1 when there is none
// or the element made no control.
ObjectNumber dialog_control(ObjectNumber dialog, const char16_t* name);

// Runs both layout passes again and grows the window when its content no longer fits.
void dialog_refresh(ObjectNumber dialog);

// The first error message kept by the dialog, "" when none.
std::u16string dialog_error(ObjectNumber dialog);

// Where in the definition the element of the kept message begins: its 1-based line and
// column (for a definition that is not well-formed, the parser's place of the error); 0
// when there is no message or the place is unknown.
std::int32_t dialog_error_line(ObjectNumber dialog);
std::int32_t dialog_error_column(ObjectNumber dialog);

// Frees a dialog with its element tree and window; GK_ANY frees every dialog.
void dialog_free(ObjectNumber dialog);

// The names that definitions may use as numbers, flags and event procedures; empty until
// the program declares some. Null before dialog_start.
RuntimeRegistry* dialog_registry();
