// Shared pieces of the dialog tests that run with real windows. Windows only.
#pragma once

#ifdef _WIN32

#include "tests/support/gui_input.h"
#include "core/object.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

// Starts the components a dialog needs, once per process; false on failure.
bool gui_start_dialogs();

// Parses the definition and opens the named window in a new dialog; the document is freed
// again. Returns the dialog (also when the open fails); *opened tells whether it opened.
ObjectNumber gui_open_definition(const std::u16string& text, const char16_t* window_name, bool* opened);

// The text of the example definition copied beside the preview; "" when it cannot be read.
std::u16string gui_example_definition();

// Dispatches the messages that are waiting and takes the events they raised.
void gui_settle();

// The control's rectangle in the client coordinates of the window it sits in.
RECT gui_control_rect(ObjectNumber control);
// The window's client size.
SIZE gui_client_size(HWND window);

// The text with each character cut to 8 bits, for failure messages.
std::string gui_narrow(const std::u16string& text);

// Dispatches messages and takes events until the condition holds or about timeout_ms pass;
// returns the condition's last value.
bool gui_settle_until(const std::function<bool()>& condition, int timeout_ms = 3000);

// Top-level windows of this thread, visible or not.
int gui_thread_window_count();

// One dialog opened from a definition in each test; every dialog is freed after it.
class DialogGuiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the definition's first window and takes the events of its showing.
    void open(const std::u16string& definition);
    ObjectNumber control(const char16_t* name) const;

    ObjectNumber dialog = 0;
    HWND window = nullptr;  // the dialog's window
};

#endif
