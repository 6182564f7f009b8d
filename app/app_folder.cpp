#include "app/app_folder.h"

#include "services/path.h"

namespace {

char16_t fold(char16_t unit)
{
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
}

bool equal_ignoring_case(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i]))
            return false;
    return true;
}

}  // namespace

bool app_extension_listed(std::u16string_view name, std::u16string_view extensions)
{
    const std::u16string extension = path_extension_part(std::u16string(name).c_str());
    if (extension.empty())
        return false;
    while (!extensions.empty()) {
        const std::size_t bar = extensions.find(u'|');
        const std::u16string_view entry = extensions.substr(0, bar);
        if (!entry.empty() && equal_ignoring_case(extension, entry))
            return true;
        if (bar == std::u16string_view::npos)
            break;
        extensions.remove_prefix(bar + 1);
    }
    return false;
}
