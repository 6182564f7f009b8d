#include "dialog/dialog_message.h"

#include "services/text_convert.h"

#include <cstdio>

namespace {

std::string to_8bit(std::u16string_view text)
{
    std::u16string copy(text);
#ifdef _WIN32
    return utf16_to_ansi(copy.c_str());
#else
    return utf16_to_utf8(copy.c_str());
#endif
}

}

void dialog_message_report(DialogMessage* message, const char* format, std::u16string_view first,
                           std::u16string_view second)
{
    if (message->set)
        return;
    char buffer[DIALOG_MESSAGE_BUFFER];
    int written = std::snprintf(buffer, sizeof buffer, format, to_8bit(first).c_str(), to_8bit(second).c_str());
    message->set = true;
    message->text = written < 0 ? std::string(format) : std::string(buffer);
}

void dialog_message_clear(DialogMessage* message)
{
    message->set = false;
    message->text.clear();
}
