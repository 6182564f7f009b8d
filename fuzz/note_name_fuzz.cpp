// Note names: a name that passes the check stays a plain file name in the notes folder,
// and the list of notes taken from file names keeps only ".bin" files, sorted.
#include "fuzz_support.h"

#include "app/note_name.h"

#include <algorithm>
#include <vector>

namespace {

bool plain_file_name(const std::u16string& name)
{
    if (name.empty() || name.size() > NOTE_NAME_MAX)
        return false;
    if (std::all_of(name.begin(), name.end(), [](char16_t c) { return c == u'.'; }))
        return false;
    return std::none_of(name.begin(), name.end(), [](char16_t c) {
        return c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::u16string name = fuzz_units(data, size);
    if (note_name_valid(name)) {
        FUZZ_CHECK(plain_file_name(name));
        FUZZ_CHECK(note_file_name(name) == name + u".bin");
        FUZZ_CHECK(note_temporary_file_name(name) == u"~" + name + u".bin.tmp");
    }
    // The same units, cut at every "|", as the file names of a folder.
    std::vector<std::u16string> files;
    std::size_t start = 0;
    for (std::size_t at = name.find(u'|'); at != std::u16string::npos; at = name.find(u'|', start)) {
        files.push_back(name.substr(start, at - start));
        start = at + 1;
    }
    files.push_back(name.substr(start));
    const std::vector<std::u16string> names = note_names(files);
    FUZZ_CHECK(names.size() <= files.size());
    for (const std::u16string& note : names) {
        const std::u16string file = note + u".bin";
        const bool listed = std::any_of(files.begin(), files.end(), [&](const std::u16string& f) {
            return f.size() == file.size() && f.substr(0, note.size()) == note;
        });
        FUZZ_CHECK(listed);
    }
    return 0;
}
