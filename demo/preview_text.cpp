#include "demo/preview_text.h"

#include "demo/preview_file.h"
#include "dialog/dialog.h"
#include "services/text_convert.h"
#include "toolkit/control.h"

#include <string_view>

namespace {

constexpr std::string_view UTF8_MARK = "\xEF\xBB\xBF";

bool read_utf8(const std::u16string& path, std::u16string* text)
{
    std::string bytes;
    bool read = preview_read_file(path, &bytes);
    std::string_view content(bytes);
    if (content.starts_with(UTF8_MARK))
        content.remove_prefix(UTF8_MARK.size());
    *text = utf8_to_utf16(std::string(content).c_str());
    return read;
}

}  // namespace

bool preview_text_parse(const wchar_t* argument, PreviewText* text)
{
    std::u16string whole(reinterpret_cast<const char16_t*>(argument));
    std::size_t equals = whole.find(u'=');
    if (equals == std::u16string::npos || equals == 0 || equals + 1 == whole.size())
        return false;
    text->name = whole.substr(0, equals);
    text->path = whole.substr(equals + 1);
    return true;
}

bool preview_text_apply(ObjectNumber dialog, const std::vector<PreviewText>& texts, std::string* message)
{
    for (const PreviewText& text : texts) {
        ObjectNumber control = dialog_control(dialog, text.name.c_str());
        if (control == -1) {
            *message = "--text: no control is named " + utf16_to_utf8(text.name.c_str());
            return false;
        }
        std::u16string content;
        if (!read_utf8(text.path, &content)) {
            *message = "--text: the file could not be read: " + utf16_to_utf8(text.path.c_str());
            return false;
        }
        control_set_text(control, content.c_str());
    }
    return true;
}
