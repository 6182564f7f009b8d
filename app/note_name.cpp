#include "app/note_name.h"

#include "services/text_case.h"

#include <algorithm>

namespace {

constexpr std::u16string_view FORBIDDEN = u"\\/:*?\"<>|";

// Names the platform takes as devices wherever they appear, extension or not.
constexpr std::u16string_view DEVICES[] = {u"con", u"prn", u"aux", u"nul"};
constexpr std::u16string_view NUMBERED_DEVICES[] = {u"com", u"lpt"};

// Digits 1 to 9, and the superscript 1, 2 and 3 that the platform also accepts.
bool is_device_digit(char16_t unit)
{
    return (unit >= u'1' && unit <= u'9') || unit == u'\u00B9' || unit == u'\u00B2' || unit == u'\u00B3';
}

std::u16string_view trim_end(std::u16string_view text, std::u16string_view units)
{
    while (!text.empty() && units.find(text.back()) != std::u16string_view::npos)
        text.remove_suffix(1);
    return text;
}

bool is_device_name(std::u16string_view name)
{
    // The platform drops trailing dots and spaces, then looks at the part before the
    // first dot without its trailing spaces.
    std::u16string_view base = trim_end(name, u". ");
    base = trim_end(base.substr(0, base.find(u'.')), u" ");
    // Device names are ASCII words that the platform takes in any case.
    for (std::u16string_view device : DEVICES)
        if (text_equal_ascii(base, device))
            return true;
    if (base.size() == 4 && is_device_digit(base[3]))
        for (std::u16string_view device : NUMBERED_DEVICES)
            if (text_equal_ascii(base.substr(0, 3), device))
                return true;
    return false;
}

}  // namespace

bool note_name_valid(std::u16string_view name)
{
    if (name.empty() || name.size() > NOTE_NAME_MAX)
        return false;
    if (name.find_first_not_of(u'.') == std::u16string_view::npos)
        return false;
    for (char16_t unit : name)
        if (unit < 0x20 || FORBIDDEN.find(unit) != std::u16string_view::npos)
            return false;
    return !is_device_name(name);
}

std::u16string note_file_name(std::u16string_view name)
{
    return std::u16string(name) + NOTE_EXTENSION;
}

std::u16string note_temporary_file_name(std::u16string_view name)
{
    std::u16string file(u"~");
    file += name;
    file += NOTE_EXTENSION;
    file += u".tmp";
    return file;
}

std::vector<std::u16string> note_names(const std::vector<std::u16string>& file_names)
{
    const std::u16string_view extension = NOTE_EXTENSION;
    std::vector<std::u16string> names;
    for (const std::u16string& file : file_names) {
        const std::u16string_view view = file;
        if (view.size() > extension.size() && text_ends_with_ascii(view, extension))
            names.emplace_back(view.substr(0, view.size() - extension.size()));
    }
    // The list is ordered as the list sort's ignore-case option orders it: by the ASCII rule.
    std::stable_sort(names.begin(), names.end(), text_less_ascii);
    return names;
}
