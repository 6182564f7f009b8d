#include "app/app_folder.h"

#include "services/path.h"
#include "services/text_case.h"

namespace {

// Lengths of the prefixes "\\" (a share), "\\?\" or "\\.\" (a device path) and
// "\\?\UNC\" (a share as a device path), and of a drive "C:" without and with its separator.
constexpr std::size_t SHARE_PREFIX = 2;
constexpr std::size_t DEVICE_PREFIX = 4;
constexpr std::size_t DEVICE_SHARE_PREFIX = 8;
constexpr std::size_t DRIVE = 2;
constexpr std::size_t DRIVE_ROOT = 3;

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

// The length of the path's root: "\\server\share\", "C:\", "\\?\C:\" and the like.
std::size_t root_length(std::u16string_view path)
{
    const bool two_separators = path.size() >= 2 && is_separator(path[0]) && is_separator(path[1]);
    const bool device = two_separators && path.size() >= DEVICE_PREFIX && (path[2] == u'?' || path[2] == u'.') &&
                        is_separator(path[3]);
    // The platform spells "UNC" in ASCII and takes it in any case.
    if (device && text_starts_with_ascii(path.substr(DEVICE_PREFIX), u"UNC\\"))
        return after_part(path, after_part(path, DEVICE_SHARE_PREFIX));
    if (device) {
        const std::u16string_view rest = path.substr(DEVICE_PREFIX);
        if (rest.size() >= DRIVE && rest[1] == u':')
            return DEVICE_PREFIX + (rest.size() >= DRIVE_ROOT && is_separator(rest[2]) ? DRIVE_ROOT : DRIVE);
        return after_part(path, DEVICE_PREFIX);
    }
    if (two_separators)
        return after_part(path, after_part(path, SHARE_PREFIX));
    if (path.size() >= DRIVE && path[1] == u':')
        return path.size() >= DRIVE_ROOT && is_separator(path[2]) ? DRIVE_ROOT : DRIVE;
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
        // The wanted extensions are the program's own ASCII words ("txt", "bin").
        if (!entry.empty() && text_equal_ascii(extension, entry))
            return true;
        if (bar == std::u16string_view::npos)
            break;
        extensions.remove_prefix(bar + 1);
    }
    return false;
}
