// Image controls (kind 40): show one image of the images component by its alpha, at the
// top left corner, over the dialog's background. The state is the image's number (0 shows
// none); a dynamic number, too wide for a state, is set and read as attribute
// IMAGE_ATTRIBUTE_PICTURE. The control looks the image up whenever it paints, so drawing on the image shows
// after the next repaint. Its natural size is the image's size plus the border. Real mouse
// input raises EVENT_GADGET with EVENTTYPE_LEFT_CLICK and EVENTTYPE_RIGHT_CLICK (on release),
// EVENTTYPE_LEFT_DOUBLE_CLICK, EVENTTYPE_RIGHT_DOUBLE_CLICK and EVENTTYPE_DRAG_START (the
// pointer moved past the platform's drag distance with the left button held; no click follows).
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr int CONTROL_KIND_IMAGE = 40;

constexpr std::uint32_t GK_Image_Raised = 0x1;    // a raised frame
constexpr std::uint32_t GK_Image_Border = 0x200;  // a sunken border

// The picture of an image control or image button: an image's number, 0 for none.
constexpr int IMAGE_ATTRIBUTE_PICTURE = 1;

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber image_control_create(ObjectNumber number, int x, int y, int width, int height, ObjectNumber image,
                                  std::uint32_t flags);
