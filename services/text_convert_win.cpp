#include "services/text_convert.h"

#include <windows.h>

#include <climits>
#include <cstring>

std::string utf16_to_ansi(const char16_t* text)
{
    std::string out;
    if (!text)
        return out;
    const std::size_t length = std::char_traits<char16_t>::length(text);
    if (length == 0 || length > INT_MAX)
        return out;
    const auto* wide = reinterpret_cast<const wchar_t*>(text);
    const int units = static_cast<int>(length);
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, units, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return out;
    out.resize(static_cast<std::size_t>(size));
    if (WideCharToMultiByte(CP_ACP, 0, wide, units, out.data(), size, nullptr, nullptr) != size)
        out.clear();
    return out;
}

std::u16string ansi_to_utf16(const char* text)
{
    std::u16string out;
    if (!text)
        return out;
    const std::size_t length = std::strlen(text);
    if (length == 0 || length > INT_MAX)
        return out;
    const int bytes = static_cast<int>(length);
    const int size = MultiByteToWideChar(CP_ACP, 0, text, bytes, nullptr, 0);
    if (size <= 0)
        return out;
    out.resize(static_cast<std::size_t>(size));
    if (MultiByteToWideChar(CP_ACP, 0, text, bytes, reinterpret_cast<wchar_t*>(out.data()), size) != size)
        out.clear();
    return out;
}
