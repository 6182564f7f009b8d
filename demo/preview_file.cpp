#include "demo/preview_file.h"

#include "services/file.h"
#include "services/text_decode.h"

bool preview_read_file(const std::u16string& path, std::string* bytes)
{
    ObjectNumber file = file_open_read(GK_ANY, path.c_str(), 0);
    if (!file)
        return false;
    std::int64_t length = file_length(file);
    bytes->assign(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    bool read = file_read_data(file, bytes->data(), static_cast<std::int64_t>(bytes->size())) == length;
    file_close(file);
    return read;
}

bool preview_read_text(const std::u16string& path, std::u16string* text)
{
    std::string bytes;
    bool read = preview_read_file(path, &bytes);
    *text = text_decode(bytes);
    return read;
}
