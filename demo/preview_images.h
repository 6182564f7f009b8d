// DialogPreview's --image NAME=FILE: the named image or image button shows the file's
// image, a canvas gets it drawn at its top left corner and takes its size as natural size.
#pragma once

#include "core/object.h"

#include <string>
#include <vector>

struct PreviewImage {
    std::u16string name;
    std::u16string path;
};

// Takes "NAME=FILE"; false when there is no name before an '=' or no file behind it.
bool preview_parse_image(const wchar_t* argument, std::vector<PreviewImage>* images);

// Loads each file and hands it to its control, then lays the window out again so that each
// control takes its natural size. Returns one message per file or name that failed.
std::vector<std::string> preview_show_images(ObjectNumber dialog, const std::vector<PreviewImage>& images);

// The type of an event line: the number, and for a canvas type its name behind it.
std::string preview_type_text(int type);
