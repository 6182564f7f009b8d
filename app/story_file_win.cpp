#include "app/story_file.h"

#include "app/app_folder.h"
#include "app/story_files.h"
#include "app/story_post.h"

#include "services/file.h"
#include "services/folder.h"
#include "services/utf8.h"

namespace {

constexpr std::uint32_t APPEND_FLAGS = OPEN_SHARE_READ | OPEN_APPEND | TEXT_UTF8;
constexpr std::uint32_t READ_FLAGS = OPEN_SHARE_READ | TEXT_UTF8;
constexpr std::uint8_t UTF8_MARK[] = {0xEF, 0xBB, 0xBF};

}  // namespace

bool story_append(const char16_t* path, const std::u16string& text)
{
    const bool existed = file_size(path) != FILE_SIZE_MISSING;
    const ObjectNumber file = file_open(GK_ANY, path, APPEND_FLAGS);
    if (!file)
        return false;
    const std::int64_t previous = file_length(file);
    std::string bytes = previous == 0 ? std::string(UTF8_MARK, UTF8_MARK + sizeof UTF8_MARK) : std::string();
    bytes += utf8_encode(text);
    const auto length = static_cast<std::int64_t>(bytes.size());
    bool ok = previous >= 0 && file_write_data(file, bytes.data(), length) == length;
    ok = ok && file_flush(file);
    if (!ok && previous >= 0)
        file_truncate(file, previous);
    ok = file_close(file) && ok;
    // A file made for this post only goes again.
    if (!ok && !existed)
        file_delete(path, 0);
    return ok;
}

std::u16string story_read_file(const char16_t* path)
{
    const ObjectNumber file = file_open_read(GK_ANY, path, READ_FLAGS);
    if (!file)
        return std::u16string();
    file_detect_bom(file);
    std::u16string text = file_read_string(file, READ_WHOLE_FILE | TEXT_UTF8);
    file_close(file);
    return text;
}

std::vector<std::u16string> story_list_time_files(const std::u16string& folder)
{
    return story_time_files(app_scan_folder(folder, u"txt|"));
}

AccumulatorHandle story_collect(const std::u16string& folder)
{
    const std::vector<std::u16string> files = story_list_time_files(folder);
    if (files.empty())
        return nullptr;
    AccumulatorHandle story(accumulator_new());
    if (!story)
        return nullptr;
    for (auto name = files.rbegin(); name != files.rend(); ++name) {
        const std::u16string path = folder + *name;
        if (file_size(path.c_str()) <= 0)
            continue;
        const std::u16string posts = story_reverse(story_read_file(path.c_str()));
        accumulator_append(story.get(), posts.data(), static_cast<std::int32_t>(posts.size()));
    }
    return story;
}

StoryPostResult story_write_post(const std::u16string& folder, const std::u16string& editor_text, DateValue date,
                                 std::u16string& post)
{
    const std::u16string body = story_body(editor_text);
    if (body.empty())
        return StoryPostResult::EMPTY;
    const std::vector<std::u16string> files = story_list_time_files(folder);
    const std::int64_t newest_size = files.empty() ? FILE_SIZE_MISSING : file_size((folder + files.back()).c_str());
    const std::int32_t number = story_choose_file_number(files, newest_size);
    if (number > STORY_FILE_LIMIT)
        return StoryPostResult::LIMIT;
    std::u16string built = story_build_post(body, date);
    const std::u16string path = folder + story_time_file_name(number);
    if (!story_append(path.c_str(), story_reverse(built)))
        return StoryPostResult::FAILED;
    post = std::move(built);
    return StoryPostResult::POSTED;
}
