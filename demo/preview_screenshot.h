// DialogPreview --screenshot FILE.png and --size WIDTHxHEIGHT: the window's inner area, once
// laid out and painted, saved as PNG through the images component, so that the pictures of
// a definition can be made again by a script whenever it changes.
#pragma once

#include "core/object.h"

#include <string>

struct PreviewSize {
    int width = 0;  // 0: the window's own size
    int height = 0;
};

// Reads "WIDTHxHEIGHT" (both 1 to 32767); false for anything else.
bool preview_parse_size(const wchar_t* argument, PreviewSize* size);

// Gives the window that inner size (its bounds may keep it larger); a zero size leaves it.
void preview_size_apply(ObjectNumber dialog, PreviewSize size);

// Brings the window to the top left corner of the screen, lets it paint, and writes its
// inner area to the file. True when written; otherwise false with the reason in *message.
bool preview_screenshot(ObjectNumber dialog, const std::u16string& path, std::string* message);
