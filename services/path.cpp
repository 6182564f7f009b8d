#include "services/path.h"

#include <string_view>

namespace {

bool is_separator(char16_t unit)
{
    return unit == u'\\' || unit == u'/';
}

// The path without its leading double quote.
std::u16string_view unquoted(const char16_t* path)
{
    if (!path)
        return {};
    std::u16string_view view(path);
    if (!view.empty() && view.front() == u'"')
        view.remove_prefix(1);
    return view;
}

std::u16string_view up_to_quote(std::u16string_view text)
{
    return text.substr(0, text.find(u'"'));
}

}  // namespace

std::u16string path_folder_part(const char16_t* path)
{
    std::u16string_view view = unquoted(path);
    view = view.substr(0, view.find(u'|'));
    std::size_t end = 0;
    for (std::size_t i = 0; i < view.size(); ++i) {
        if (is_separator(view[i]))
            end = i + 1;
    }
    return std::u16string(view.substr(0, end));
}

std::u16string path_file_part(const char16_t* path, std::uint32_t flags)
{
    std::u16string_view view = unquoted(path);
    std::size_t start = 0;
    for (std::size_t i = 0; i < view.size(); ++i) {
        if (is_separator(view[i]))
            start = i + 1;
    }
    std::u16string_view name = up_to_quote(view.substr(start));
    if (flags & PATH_NO_EXTENSION) {
        // The last dot cuts the name unless a blank comes after it, nothing follows
        // it, or it starts the name.
        for (std::size_t i = name.size(); i-- > 0;) {
            if (name[i] == u' ')
                break;
            if (name[i] == u'.') {
                if (i > 0 && i + 1 < name.size())
                    name = name.substr(0, i);
                break;
            }
        }
    }
    return std::u16string(name);
}

std::u16string path_extension_part(const char16_t* path)
{
    std::u16string_view view = unquoted(path);
    for (std::size_t i = view.size(); i-- > 0;) {
        const char16_t unit = view[i];
        if (unit == u' ' || is_separator(unit))
            break;
        if (unit == u'.') {
            if (i == 0 || is_separator(view[i - 1]))
                break;
            return std::u16string(up_to_quote(view.substr(i + 1)));
        }
    }
    return std::u16string();
}
