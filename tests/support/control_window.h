// The window that the GUI tests of a control kind put their controls in. Windows only.
#pragma once

#ifdef _WIN32

#include "core/object.h"

#include <gtest/gtest.h>
#include <windows.h>

// Opens a window of the given title and size in front of the others, and forgets the
// recorded gadget events; afterwards closes every window and drains what their closing raised.
class ControlWindowTest : public ::testing::Test {
protected:
    explicit ControlWindowTest(const char16_t* title, int width = 400, int height = 300)
        : title_(title), width_(width), height_(height)
    {
    }

    void SetUp() override;
    void TearDown() override;

    ObjectNumber window = 0;
    HWND handle = nullptr;

private:
    const char16_t* title_;
    int width_;
    int height_;
};

#endif
