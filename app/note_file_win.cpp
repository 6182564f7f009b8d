#include "app/note_file.h"

#include "app/app_folder.h"
#include "app/note_name.h"

#include "services/file.h"
#include "services/folder.h"

#include <cstring>

namespace {

// Writes, flushes and reads back the bytes; the file is closed either way.
bool write_verified(const std::u16string& path, const std::vector<std::uint8_t>& data)
{
    const ObjectNumber file = file_create(GK_ANY, path.c_str(), OPEN_NO_BUFFER);
    if (!file)
        return false;
    const auto length = static_cast<std::int64_t>(data.size());
    bool ok = length == 0 || file_write_data(file, data.data(), length) == length;
    ok = ok && file_flush(file) && file_seek(file, 0);
    if (ok && length > 0) {
        std::vector<std::uint8_t> back(data.size() + 1);
        ok = file_read_data(file, back.data(), length + 1) == length &&
             std::memcmp(back.data(), data.data(), data.size()) == 0;
    }
    return file_close(file) && ok;
}

}  // namespace

bool note_read_file(const std::u16string& folder, const std::u16string& name, std::vector<std::uint8_t>& data)
{
    if (!note_name_valid(name))
        return false;
    const std::u16string path = folder + note_file_name(name);
    const ObjectNumber file = file_open_read(GK_ANY, path.c_str(), OPEN_SHARE_READ);
    if (!file)
        return false;
    const std::int64_t length = file_length(file);
    bool ok = length >= 0 && length <= NOTE_READ_LIMIT;
    if (ok) {
        data.assign(static_cast<std::size_t>(length), 0);
        ok = length == 0 || file_read_data(file, data.data(), length) == length;
    }
    file_close(file);
    return ok;
}

bool note_write_file(const std::u16string& folder, const std::u16string& name, const std::vector<std::uint8_t>& data)
{
    if (!note_name_valid(name) || static_cast<std::int64_t>(data.size()) > NOTE_READ_LIMIT)
        return false;
    const std::u16string path = folder + note_file_name(name);
    const std::u16string temporary = folder + note_temporary_file_name(name);
    if (write_verified(temporary, data) && file_replace(temporary.c_str(), path.c_str()))
        return true;
    file_delete(temporary.c_str(), DELETE_FORCE);
    return false;
}

std::vector<std::u16string> note_list(const std::u16string& folder)
{
    return note_names(app_scan_folder(folder, u"bin|"));
}
