#include "app/story_file.h"

#include "app/app_folder.h"
#include "app/story_files.h"
#include "app/story_post.h"
#include "app/story_text.h"

#include "services/file.h"
#include "services/folder.h"
#include "services/utf8.h"

namespace {

// Unbuffered, so that the bytes a failed append left on disk are known exactly.
constexpr std::uint32_t APPEND_FLAGS = OPEN_SHARE_READ | OPEN_APPEND | OPEN_NO_BUFFER | TEXT_UTF8;
constexpr std::uint32_t READ_FLAGS = OPEN_SHARE_READ | TEXT_UTF8;
constexpr std::uint8_t UTF8_MARK[] = {0xEF, 0xBB, 0xBF};

}  // namespace

bool story_append(const char16_t* path, const std::u16string& text)
{
    // Shared for reading only: while one copy of the program appends, another copy's open
    // fails (it reports "ERROR") rather than writing between these bytes.
    const ObjectNumber file = file_open(GK_ANY, path, APPEND_FLAGS);
    if (!file)
        return false;
    const std::int64_t previous = file_length(file);
    std::string bytes = previous == 0 ? std::string(UTF8_MARK, UTF8_MARK + sizeof UTF8_MARK) : std::string();
    bytes += utf8_encode(text);
    const auto length = static_cast<std::int64_t>(bytes.size());
    const std::int64_t written =
        previous >= 0 && file_seek(file, previous) ? file_write_data(file, bytes.data(), length) : 0;
    bool ok = written == length && file_flush(file);
    // Only what this append left is cut back: a file that is longer than that holds bytes
    // another writer added where the platform did not keep it out. A file made for this
    // post is left empty, never deleted, since another copy may be appending to it by then.
    if (!ok && previous >= 0 && file_length(file) == previous + written)
        file_truncate(file, previous);
    return file_close(file) && ok;
}

bool story_read_time_file(const char16_t* path, StoryText& text)
{
    const ObjectNumber file = file_open_read(GK_ANY, path, READ_FLAGS | OPEN_NO_BUFFER);
    if (!file)
        return false;
    const std::int64_t length = file_length(file);
    bool ok = length >= 0 && length <= STORY_READ_LIMIT;
    MallocPtr<char> bytes = malloc_array<char>(ok ? static_cast<std::size_t>(length) : 0);
    ok = ok && (length == 0 || (bytes && file_read_data(file, bytes.get(), length) == length));
    file_close(file);
    return ok && story_decode_time_file(bytes.get(), static_cast<std::size_t>(length), text);
}

std::u16string story_read_file(const char16_t* path)
{
    StoryText text;
    if (!story_read_time_file(path, text))
        return std::u16string();
    return std::u16string(text.units.get(), text.size);
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
    // A file's bytes are at least as many as its UTF-16 units: with room for them all
    // the story is made in one block, without copies while it grows.
    std::vector<std::int64_t> sizes;
    std::int64_t room = 0;
    for (const std::u16string& name : files) {
        sizes.push_back(file_size((folder + name).c_str()));
        room += sizes.back() > 0 && sizes.back() <= STORY_READ_LIMIT ? sizes.back() : 0;
    }
    accumulator_reserve(story.get(), static_cast<std::int32_t>(room < INT32_MAX ? room : INT32_MAX));
    // One file's text at a time beside the story; a file that cannot be read, or whose
    // text no longer fits, adds nothing.
    for (std::size_t i = files.size(); i-- > 0;) {
        StoryText text;
        if (sizes[i] <= 0 || !story_read_time_file((folder + files[i]).c_str(), text) || text.size == 0 ||
            text.size > INT32_MAX)
            continue;
        story_reverse_in_place(text.units.get(), text.size);
        accumulator_append(story.get(), text.units.get(), static_cast<std::int32_t>(text.size));
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
