// Image buttons (kind 41): push buttons that show an image, laid over the button's face
// colour when it is set (attribute IMAGE_ATTRIBUTE_PICTURE, the image's number; 0 shows none), so
// drawing on the image later shows only when it is set again. GK_Button_Toggle makes the
// button (flag value of `toolkit/button.h`) keep its pressed state: state 1 pressed, 0 released. Its natural size is the
// image's size plus the button's border (BUTTONIMAGE_BORDER each side, computed here: the
// platform's ideal-size query is unreliable). A click raises EVENT_GADGET type 0.
#pragma once

#include "core/object.h"
#include "toolkit/controls/image_control.h"

#include <cstdint>

constexpr int CONTROL_KIND_BUTTONIMAGE = 41;

// Pixels of edge and space around the image on each side.
constexpr int BUTTONIMAGE_BORDER = 5;

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber buttonimage_create(ObjectNumber number, int x, int y, int width, int height, ObjectNumber image,
                                std::uint32_t flags);
