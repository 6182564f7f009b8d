// Stand-ins for the control kinds that the toolkit does not provide yet: a plain static
// child window that takes a place in the layout, keeps its text and a state value, and,
// when it is a container, holds the controls created inside it.
#pragma once

#include "core/object.h"

constexpr int CONTROL_KIND_PLACEHOLDER = 1000;

// Returns the number for GK_ANY, else the platform handle; 0 on failure. A container
// passes the notifications of the controls inside it on, as a window does; open it with
// container_open_list to create controls inside it.
ObjectNumber placeholder_create(ObjectNumber number, const char16_t* text, bool container);
