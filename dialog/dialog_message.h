// The error slot of a dialog: the first message of a faulty definition, kept as 8-bit
// text (the system's ANSI code page on Windows, UTF-8 elsewhere) of at most 511 bytes.
// Later messages are dropped while one is stored. Beside the text it keeps where in the
// definition the element the message is about begins.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One message with the 1-based line and column of its element's start tag (0 when unknown).
struct DialogProblem {
    std::string text;
    std::int32_t line = 0;
    std::int32_t column = 0;
};

struct DialogMessage {
    bool set = false;
    std::string text;
    std::int32_t line = 0;    // where the stored message's element begins; 0 when unknown
    std::int32_t column = 0;
    std::int32_t at_line = 0;  // the element being read or built now
    std::int32_t at_column = 0;
    // When given, every message is kept here instead and none is stored, so that reading
    // goes on past each one (the preview's check lists them all).
    std::vector<DialogProblem>* every = nullptr;
};

constexpr std::size_t DIALOG_MESSAGE_BUFFER = 512;

// The messages of faulty definitions; each %s takes one text argument.
constexpr const char* MESSAGE_FLAG_NOT_SUPPORTED = "'#%s' flag is not supported for the following gadget: %s";
constexpr const char* MESSAGE_CONSTANT_NOT_FOUND = "'%s' constant is not found or not declared as runtime%s.";
constexpr const char* MESSAGE_EVENT_NOT_SUPPORTED = "'%s' is not supported for the following gadget: %s";
constexpr const char* MESSAGE_NOT_A_PROCEDURE = "'%s' is not a runtime procedure.";
constexpr const char* MESSAGE_WINDOW_NOT_FOUND = "Dialog window not found";
// Definitions beyond the engine's limits.
constexpr const char* MESSAGE_TOO_MANY_CHILDREN = "'%s' cannot hold more children than %s.";
constexpr const char* MESSAGE_BAD_COLUMNS = "'%s' columns must be 1 to %s.";
constexpr const char* MESSAGE_TOO_DEEP = "'%s' is nested deeper than %s levels.";
constexpr const char* MESSAGE_TOO_MANY_ROWS = "'%s' cannot hold more rows than %s.";
constexpr const char* MESSAGE_NOT_WELL_FORMED = "Dialog definition is not well-formed: %s at line %s.";
constexpr const char* MESSAGE_TAB_OUTSIDE_PANEL = "'%s' is not inside a panel.";
constexpr const char* MESSAGE_NESTED_WINDOW = "'%s' cannot be placed inside a window.";

// Stores the message unless one is stored already. The format must be one of the
// constants above (unused arguments are ignored); the arguments are converted to 8-bit text.
void dialog_message_report(DialogMessage* message, const char* format, std::u16string_view first = {},
                           std::u16string_view second = {});

// The element that messages reported from now on are about.
void dialog_message_locate(DialogMessage* message, std::int32_t line, std::int32_t column);

void dialog_message_clear(DialogMessage* message);

// A stored message's 8-bit text as UTF-16.
std::u16string dialog_message_wide(const std::string& text);
