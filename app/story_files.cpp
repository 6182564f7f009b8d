#include "app/story_files.h"

#include "services/text_case.h"

#include <algorithm>

namespace {

constexpr std::u16string_view PREFIX = u"Time-";
constexpr std::u16string_view EXTENSION = u".txt";
constexpr std::size_t NAME_LENGTH = 12;

bool is_digit(char16_t unit)
{
    return unit >= u'0' && unit <= u'9';
}

}  // namespace

// The time files' names are the program's own ASCII words, found again in any case.
bool story_is_time_file_name(std::u16string_view name)
{
    return name.size() == NAME_LENGTH && text_starts_with_ascii(name, PREFIX) &&
           is_digit(name[5]) && is_digit(name[6]) && is_digit(name[7]) &&
           text_ends_with_ascii(name, EXTENSION) && story_time_file_number(name) >= 1;
}

std::int32_t story_time_file_number(std::u16string_view name)
{
    std::int32_t number = 0;
    for (std::size_t i = PREFIX.size(); i < name.size() && i < PREFIX.size() + 3 && is_digit(name[i]); ++i)
        number = number * 10 + (name[i] - u'0');
    return number;
}

std::u16string story_time_file_name(std::int32_t number)
{
    std::u16string name(PREFIX);
    name += static_cast<char16_t>(u'0' + number / 100 % 10);
    name += static_cast<char16_t>(u'0' + number / 10 % 10);
    name += static_cast<char16_t>(u'0' + number % 10);
    name += EXTENSION;
    return name;
}

std::vector<std::u16string> story_time_files(const std::vector<std::u16string>& names)
{
    std::vector<std::u16string> files;
    for (const std::u16string& name : names)
        if (story_is_time_file_name(name))
            files.push_back(name);
    // By number, so that a lower-case "time-005.txt" takes its place among the others.
    std::stable_sort(files.begin(), files.end(), [](const std::u16string& a, const std::u16string& b) {
        return story_time_file_number(a) < story_time_file_number(b);
    });
    return files;
}

std::int32_t story_choose_file_number(const std::vector<std::u16string>& time_files, std::int64_t newest_size)
{
    if (time_files.empty())
        return 1;
    const std::int32_t number = story_time_file_number(time_files.back());
    return newest_size >= STORY_FILE_FULL ? number + 1 : number;
}
