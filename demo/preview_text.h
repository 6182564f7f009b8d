// DialogPreview's --text NAME=FILE: the named control's text, set from a UTF-8 file (a
// leading byte-order mark is dropped) once the window is open, so that an author sees a code
// editor or an editor with real content.
#pragma once

#include "core/object.h"

#include <string>
#include <vector>

struct PreviewText {
    std::u16string name;
    std::u16string path;
};

// Reads "NAME=FILE"; false when either side is empty.
bool preview_text_parse(const wchar_t* argument, PreviewText* text);

// Sets every named control's text from its file. False, with the reason in *message, when a
// name has no control or a file cannot be read; the texts before it are set.
bool preview_text_apply(ObjectNumber dialog, const std::vector<PreviewText>& texts, std::string* message);
