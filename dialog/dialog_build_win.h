// Turns a read element tree into controls inside its open window.
#pragma once

#include "dialog/dialog_element.h"
#include "dialog/dialog_message.h"

// Failures of the platform while building; each %s takes the element's tag name.
constexpr const char* MESSAGE_WINDOW_FAILED = "'%s' could not be opened.";
constexpr const char* MESSAGE_CONTROL_FAILED = "'%s' control could not be created.";
constexpr const char* MESSAGE_BINDING_FAILED = "'%s' event could not be bound.";
// A code editor needs its component beside the program.
constexpr const char* MESSAGE_CODE_EDITOR_MISSING =
    "'%s' control could not be created: Scintilla.dll is missing from the program's folder or cannot be loaded.";
// A fixed number would replace (and so destroy) a container the control lies in.
constexpr const char* MESSAGE_ID_OF_CONTAINER = "'%s' cannot take the id %s of a container it is in.";

// Creates the control of every element in document order, each inside the control of
// the container it belongs to, binds the event attributes, sets texts, states, disabled
// and invisible. The window must be open and be the current container. Stops at the
// first failure, which is stored; the controls made so far go with the window.
bool dialog_build_controls(DialogTree* tree, DialogMessage* message);

// Sets again what the controls took from the tree's sizes when made (the splitters'
// minimums, the scroll areas' inner sizes and steps), after the resolution changed.
void dialog_reapply_sizes(DialogTree* tree);
