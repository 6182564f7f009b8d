#include "demo/preview_images.h"

#include "dialog/dialog.h"
#include "images/draw.h"
#include "images/image.h"
#include "services/text_convert.h"
#include "toolkit/control.h"
#include "toolkit/controls/buttonimage.h"
#include "toolkit/controls/canvas.h"
#include "toolkit/controls/image_control.h"

#include <algorithm>

namespace {

// Gives the loaded image to the control; false when the control takes no image.
bool give_image(ObjectNumber control, ObjectNumber image)
{
    switch (control_kind(control)) {
    case CONTROL_KIND_IMAGE:
    case CONTROL_KIND_BUTTONIMAGE: return control_set_attribute(control, IMAGE_ATTRIBUTE_PICTURE, image) == 1;
    case CONTROL_KIND_CANVAS: {
        int width = std::max<int>(image_width(image), static_cast<int>(control_get_attribute(control, CANVAS_WIDTH)));
        int height = std::max<int>(image_height(image), static_cast<int>(control_get_attribute(control, CANVAS_HEIGHT)));
        control_set_attribute(control, CANVAS_WIDTH, width);
        control_set_attribute(control, CANVAS_HEIGHT, height);
        return draw_begin_canvas(control) && draw_image(image, 0, 0) && draw_end();
    }
    default: return false;
    }
}

}  // namespace

bool preview_parse_image(const wchar_t* argument, std::vector<PreviewImage>* images)
{
    std::u16string text(reinterpret_cast<const char16_t*>(argument));
    std::size_t equals = text.find(u'=');
    if (equals == std::u16string::npos || equals == 0 || equals + 1 == text.size())
        return false;
    images->push_back({text.substr(0, equals), text.substr(equals + 1)});
    return true;
}

std::vector<std::string> preview_show_images(ObjectNumber dialog, const std::vector<PreviewImage>& images)
{
    std::vector<std::string> messages;
    for (const PreviewImage& wanted : images) {
        ObjectNumber control = dialog_control(dialog, wanted.name.c_str());
        ObjectNumber image = image_load(GK_ANY, wanted.path.c_str());
        if (!image)
            messages.push_back("The image file could not be loaded: " + utf16_to_utf8(wanted.path.c_str()));
        else if (control == -1 || !give_image(control, image))
            messages.push_back("No image, image button or canvas is named " + utf16_to_utf8(wanted.name.c_str()));
    }
    dialog_refresh(dialog);
    return messages;
}

std::string preview_type_text(int type)
{
    const char* name = canvas_event_name(type);
    return std::to_string(type) + (name ? std::string(" ") + name : std::string());
}
