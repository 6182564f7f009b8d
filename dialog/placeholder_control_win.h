// Stand-ins for the control kinds that the toolkit does not provide yet: a plain static
// child window that takes a place in the layout, keeps its text and a state value, and,
// when it is a container, holds the controls created inside it.
#pragma once

#include "toolkit/object.h"

constexpr int CONTROL_KIND_PLACEHOLDER = 1000;

// Returns the number for GK_ANY, else the platform handle; 0 on failure. A container
// passes the notifications of the controls inside it on, as a window does; open it with
// container_open_list to create controls inside it.
ObjectNumber placeholder_create(ObjectNumber number, const char16_t* text, bool container);

// A splitter stand-in holding two part containers, made inside it. Resizing it shares its
// area between the parts (side by side when vertical, else one above the other, the
// separator between them) and raises EVENT_GADGET for each part, so that whoever lays
// out a part's content hears of its new size. The part numbers are stored in *first and
// *second. Returns as placeholder_create.
ObjectNumber placeholder_splitter_create(ObjectNumber number, bool vertical, int separator, ObjectNumber* first,
                                         ObjectNumber* second);
