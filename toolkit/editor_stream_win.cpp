// Streaming text into an editor: setting a text through EM_STREAMIN takes time linear in its
// size, where setting it as the window text grows with the square of the size.
#include "toolkit/editor_internal_win.h"

#include <richedit.h>

#include <cstring>
#include <string>

namespace {

constexpr char16_t RTF_SIGNATURE[] = u"{\\rtf";

// Bytes handed to the control by EM_STREAMIN, in the chunks it asks for. UTF-16 text is
// never cut inside a CR LF pair or a surrogate pair: the control would read the halves of a
// cut CR LF as two paragraph breaks.
struct StreamSource {
    const char* bytes;
    std::size_t size;
    std::size_t offset;
    bool utf16;
};

// The size of a chunk of at most `limit` bytes of UTF-16 text that more text follows.
std::size_t utf16_chunk_size(const char* bytes, std::size_t limit)
{
    std::size_t count = limit & ~std::size_t{1};
    if (count <= sizeof(char16_t))
        return count;
    char16_t last = 0;
    std::memcpy(&last, bytes + count - sizeof(char16_t), sizeof(last));
    bool cut_pair = last == u'\r' || (last >= 0xD800 && last <= 0xDBFF);
    return cut_pair ? count - sizeof(char16_t) : count;
}

DWORD CALLBACK stream_read(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
{
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    std::size_t count = source->size - source->offset;
    if (count > static_cast<std::size_t>(wanted)) {
        count = static_cast<std::size_t>(wanted);
        if (source->utf16)
            count = utf16_chunk_size(source->bytes + source->offset, count);
    }
    std::memcpy(buffer, source->bytes + source->offset, count);
    source->offset += count;
    *given = static_cast<LONG>(count);
    return 0;
}

bool is_rich_text(std::u16string_view text)
{
    return text.starts_with(RTF_SIGNATURE);
}

// Rich text is read as 7-bit bytes: every other character goes in as a Unicode escape
// in a group of its own, so that the document's own skip count does not apply to it.
std::string rich_text_bytes(std::u16string_view text)
{
    std::string bytes;
    for (char16_t unit : text) {
        if (unit < 0x80) {
            bytes += static_cast<char>(unit);
            continue;
        }
        bytes += "{\\uc1\\u";
        bytes += std::to_string(static_cast<std::int16_t>(unit));
        bytes += "?}";
    }
    return bytes;
}

}  // namespace

int editor_stream_in(HWND window, const char* bytes, std::size_t size, WPARAM format)
{
    StreamSource source = {bytes, size, 0, (format & SF_UNICODE) != 0};
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = stream_read;
    SendMessageW(window, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0 ? 1 : 0;
}

int editor_stream_text(HWND window, std::u16string_view text, bool plain)
{
    if (!plain && is_rich_text(text)) {
        std::string bytes = rich_text_bytes(text);
        return editor_stream_in(window, bytes.data(), bytes.size(), SF_RTF);
    }
    return editor_stream_in(window, reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t),
                            SF_TEXT | SF_UNICODE);
}
