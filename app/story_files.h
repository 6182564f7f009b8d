// The story's time files: "Time-001.txt" to "Time-999.txt" in the story folder, each
// holding reversed posts oldest first. A post goes to the newest file unless that one
// has reached STORY_FILE_FULL bytes; then a new number is started.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr std::int32_t STORY_FILE_LIMIT = 999;
constexpr std::int64_t STORY_FILE_FULL = 32768;

// True for "Time-" (any case), three digits from 001 to 999 and ".txt" (any case).
bool story_is_time_file_name(std::u16string_view name);

// The number a time file's name carries (its three digits).
std::int32_t story_time_file_number(std::u16string_view name);

// "Time-" + the number in three digits with leading zeros + ".txt".
std::u16string story_time_file_name(std::int32_t number);

// The time files among the names, in ascending order of their numbers.
std::vector<std::u16string> story_time_files(const std::vector<std::u16string>& names);

// The number of the file the next post goes to, given the sorted time files and the
// size of the newest one (FILE_SIZE_MISSING when it has gone). Above STORY_FILE_LIMIT
// when every number is used up.
std::int32_t story_choose_file_number(const std::vector<std::u16string>& time_files, std::int64_t newest_size);
