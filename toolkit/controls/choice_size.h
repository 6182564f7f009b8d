// The natural size that check boxes and option buttons share: the text's one-line extent in
// the control's font, with room for the box or circle in front of it.
#pragma once

#include "toolkit/control.h"

// Width = the text's extent + 20; height = the text's height + 2, at least 20. 0 when the
// text cannot be measured.
int choice_natural_size(ControlRecord* record, int* width, int* height);
