// Requesters: modal questions to the user. While one is up, the calling thread's other
// windows take no input; the requester runs its own message loop, so timers and bound
// handlers of those windows still run.
#pragma once

#include <string>

// Flag of requester_input: the input is a password field.
constexpr int REQUESTER_PASSWORD = 1;

// Initialises the common controls and COM for the calling thread. Returns 0 on failure.
int requester_start();
void requester_end();

// Shows a message box with the platform's type flags (buttons, icon) and returns its
// result (6 for Yes), or 0 when title or text is null or the box cannot be shown.
int requester_message(const char16_t* title, const char16_t* text, int flags);

// Asks for one line of text and returns it; "" when cancelled (Escape, the close box),
// confirmed empty, or when title or message is null. A null default text is empty.
std::u16string requester_input(const char16_t* title, const char16_t* message, const char16_t* default_text,
                               int flags = 0);
