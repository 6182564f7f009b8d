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

bool is_separator(char16_t unit)
{
    return unit == u'\\' || unit == u'/';
}

// The position just after the separator that ends the next part from `start`, or the
// path's size when no separator follows.
std::size_t after_part(std::u16string_view path, std::size_t start)
{
    while (start < path.size() && !is_separator(path[start]))
        ++start;
    return start < path.size() ? start + 1 : path.size();
}

bool starts_with_ignoring_case(std::u16string_view path, std::u16string_view prefix)
{
    return path.size() >= prefix.size() && equal_ignoring_case(path.substr(0, prefix.size()), prefix);
}

// The length of the path's root: "\\server\share\", "C:\", "\\?\C:\" and the like.
std::size_t root_length(std::u16string_view path)
{
    const bool two_separators = path.size() >= 2 && is_separator(path[0]) && is_separator(path[1]);
    const bool device = two_separators && path.size() >= 4 && (path[2] == u'?' || path[2] == u'.') &&
                        is_separator(path[3]);
    if (device && starts_with_ignoring_case(path.substr(4), u"UNC\\"))
        return after_part(path, after_part(path, 8));
    if (device) {
        const std::u16string_view rest = path.substr(4);
        if (rest.size() >= 2 && rest[1] == u':')
            return rest.size() >= 3 && is_separator(rest[2]) ? 7 : 6;
        return after_part(path, 4);
    }
    if (two_separators)
        return after_part(path, after_part(path, 2));
    if (path.size() >= 2 && path[1] == u':')
        return path.size() >= 3 && is_separator(path[2]) ? 3 : 2;
    return !path.empty() && is_separator(path[0]) ? 1 : 0;
}

}  // namespace

std::vector<std::u16string> app_folder_levels(std::u16string_view path)
{
    std::vector<std::u16string> levels;
    std::size_t end = root_length(path);
    while (end < path.size()) {
        const std::size_t next = after_part(path, end);
        // An empty part (a doubled separator) names no folder of its own.
        if (next > end + 1 || (next == path.size() && !is_separator(path[end])))
            levels.emplace_back(path.substr(0, next));
        end = next;
    }
    return levels;
}

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
