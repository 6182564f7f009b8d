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
    std::string text = written < 0 ? std::string(format) : std::string(buffer);
    if (message->every) {
        message->every->push_back({std::move(text), message->at_line, message->at_column});
        return;
    }
    message->set = true;
    message->text = std::move(text);
    message->line = message->at_line;
    message->column = message->at_column;
}

void dialog_message_locate(DialogMessage* message, std::int32_t line, std::int32_t column)
{
    message->at_line = line;
    message->at_column = column;
}

std::u16string dialog_message_wide(const std::string& text)
{
#ifdef _WIN32
    return ansi_to_utf16(text.c_str());
#else
    return utf8_to_utf16(text.c_str());
#endif
}

void dialog_message_clear(DialogMessage* message)
{
    message->set = false;
    message->text.clear();
    message->line = message->column = message->at_line = message->at_column = 0;
}
