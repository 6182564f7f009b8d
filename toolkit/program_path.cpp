#include "toolkit/program.h"

std::u16string program_command_line(const std::u16string& path)
{
    if (!path.empty() && path[0] == u'"')
        return path;
    return u"\"" + path + u"\"";
}

std::u16string program_working_folder(const std::u16string& path)
{
    std::size_t last = path.rfind(u'\\');
    return last == std::u16string::npos ? std::u16string() : path.substr(0, last + 1);
}

std::u16string program_without_long_prefix(const std::u16string& path)
{
    if (path.starts_with(u"\\\\?\\UNC\\"))
        return u"\\\\" + path.substr(8);
    if (path.starts_with(u"UNC\\"))
        return u"\\\\" + path.substr(4);
    return path.starts_with(u"\\\\?\\") ? path.substr(4) : path;
}
