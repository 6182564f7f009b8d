// The order in which Tab visits a window's controls: the order of the dialog definition they
// were made from, through every container, and the choice of the next stop in it.
#pragma once

#include "core/object.h"

#include <cstdint>
#include <vector>

// One control met in the walk over a window's child windows.
struct FocusEntry {
    std::int32_t rank;  // its place in the definition it was made from; 0 when none
    int walk;           // its place in the walk (the platform's window order)
    bool stop;          // visible, enabled and taking the focus
};

// Sorts the entries by their place in the definition; a control made outside a definition
// keeps its place in the walk right after the control walked before it.
void focus_order_sort(std::vector<FocusEntry>* entries);

// The stop that Tab (forward) or Shift+Tab reaches from entry `from` (any entry, a stop or
// not; -1 when the focus is on none), wrapping around; -1 when there is no stop.
int focus_order_step(const std::vector<FocusEntry>& entries, int from, bool forward);

// Records the control's place in the definition it was made from (1 for the first element).
void control_set_focus_rank(ObjectNumber control, std::int32_t rank);

// Moves the focus to the next (forward) or previous stop of the window, wrapping around.
void focus_move(void* window, bool forward);
// Gives the control window the focus and scrolls every scroll area around it so that it shows.
void focus_set(void* control_window);
// The control made just before this one in its window's definition order, usable or not (a
// field's label), or null.
void* focus_control_before(void* control_window);
// The first stop of the window that lies within `ancestor`, or null.
void* focus_first_within(void* window, void* ancestor);
// The window's visible, enabled controls in Tab order, stops or not.
std::vector<void*> focus_controls(void* window);
// The stop that Tab reaches from the control window, or null.
void* focus_stop_after(void* window, void* control_window);

// The message that focus_set sends to each ancestor of a newly focused control (its handle in
// the LPARAM), so that a scroll area brings it into view.
unsigned focus_show_message();
