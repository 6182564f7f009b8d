#include "app/app_folder.h"

#include "services/folder.h"

std::vector<std::u16string> app_scan_folder(std::u16string_view folder, std::u16string_view extensions)
{
    std::vector<std::u16string> names;
    std::u16string path(folder);
    for (char16_t& unit : path)
        if (unit == u'/')
            unit = u'\\';
    if (path.empty() || path.back() != u'\\')
        path.push_back(u'\\');
    const ObjectNumber scan = dir_examine(GK_ANY, path.c_str(), u"*.*");
    if (!scan)
        return names;
    while (dir_next_entry(scan)) {
        if (dir_entry_type(scan) != ENTRY_FILE)
            continue;
        std::u16string name = dir_entry_name(scan);
        if (app_extension_listed(name, extensions))
            names.push_back(std::move(name));
    }
    dir_finish(scan);
    return names;
}
