// Byte-order marks written to and read from an open file.
#include "services/file_internal_win.h"

#include "services/text_bom.h"

bool file_write_bom(ObjectNumber number, std::int32_t format)
{
    FileObject* file = file_object(number);
    if (!file || file->read_only)
        return false;
    const std::string_view mark = text_bom_bytes(format);
    const auto size = static_cast<std::int64_t>(mark.size());
    return size == 0 || file_buffered_write(file, mark.data(), size) == size;
}

std::int32_t file_detect_bom(ObjectNumber number)
{
    FileObject* file = file_object(number);
    if (!file)
        return TEXT_ANSI;
    const std::int64_t start = file_logical_position(file);
    char head[4] = {};
    const std::int64_t got = file_buffered_read(file, head, sizeof head);
    const TextBom mark = text_bom_detect(std::string_view(head, static_cast<std::size_t>(got)));
    file_move_to(file, start + static_cast<std::int64_t>(mark.size));
    return mark.format;
}
