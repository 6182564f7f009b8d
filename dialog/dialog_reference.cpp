#include "dialog/dialog_reference.h"

#include "dialog/dialog_attributes.h"
#include "dialog/dialog_language.h"

#include <cstdio>
#include <vector>

namespace {

constexpr std::size_t LINE_WIDTH = 92;
constexpr std::size_t NAME_COLUMN = 16;

std::string narrow(const char16_t* text)
{
    std::string result;
    for (; *text; ++text)
        result += *text < 0x80 ? static_cast<char>(*text) : '?';
    return result;
}

std::string padded(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    else
        text += ' ';
    return text;
}

// "label   item, item, ..." wrapped under the first item.
std::string wrapped(const std::string& label, const std::vector<std::string>& items)
{
    std::string text = padded("  " + label, NAME_COLUMN);
    std::size_t column = text.size();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string item = items[i] + (i + 1 < items.size() ? "," : "");
        if (column + item.size() + 1 > LINE_WIDTH && column > NAME_COLUMN) {
            text += "\n" + std::string(NAME_COLUMN, ' ');
            column = NAME_COLUMN;
        } else if (column > NAME_COLUMN) {
            text += ' ';
            ++column;
        }
        text += item;
        column += item.size();
    }
    return text + "\n";
}

const char* syntax(AttributeValue value)
{
    switch (value) {
    case AttributeValue::Text: return "text";
    case AttributeValue::Keyword: return "keyword";
    case AttributeValue::Flags: return "flag names";
    case AttributeValue::Margin: return "number or sides";
    case AttributeValue::Id: return "#name or number";
    case AttributeValue::Number: return "number";
    case AttributeValue::Integer: return "integer";
    case AttributeValue::IntegerOrAuto: return "integer or auto";
    case AttributeValue::SplitterMinimum: return "integer, auto or request";
    }
    return "";
}

std::string attribute_line(const AttributeInfo& row)
{
    std::string text = padded("  " + narrow(row.name), NAME_COLUMN) + padded(syntax(row.value), 26);
    const std::string fallback = narrow(row.default_value);
    text += padded(fallback.empty() ? "-" : fallback, 10) + narrow(row.meaning);
    return text + "\n";
}

std::string hex(std::uint32_t value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%X", value);
    return buffer;
}

std::string element_section(const ElementInfo& element)
{
    std::string text = "<" + narrow(element.name) + ">\n";
    std::vector<std::string> shared;
    for (const AttributeInfo& row : dialog_attributes()) {
        if (row.scope == AttributeScope::Kinds || row.scope == AttributeScope::Container ||
            row.scope == AttributeScope::ContainerInside) {
            if (dialog_attribute_applies(&row, &element, nullptr, true))
                text += attribute_line(row);
        } else if (row.scope != AttributeScope::Every && row.scope != AttributeScope::GridChild &&
                   dialog_attribute_applies(&row, &element, nullptr, true)) {
            shared.push_back(narrow(row.name));
        }
    }
    if (!shared.empty())
        text += wrapped("also", shared);
    std::vector<std::string> events;
    for (const EventAttribute& event : dialog_event_attributes())
        if (element.reads_events && (event.allow == 0 || (element.allowed_events & event.allow)))
            events.push_back(narrow(event.name));
    text += wrapped("events", events.empty() ? std::vector<std::string>{"none"} : events);
    std::vector<std::string> flags;
    for (const FlagName& flag : element.flags)
        flags.push_back(narrow(flag.name) + " " + hex(flag.value));
    text += wrapped("flags", flags.empty() ? std::vector<std::string>{"none of its own"} : flags);
    return text + "\n";
}

// The rows every element reads, and those of a gridbox's children.
std::string common_section()
{
    std::string text = "Attributes every element reads (name, syntax, default, meaning):\n";
    for (const AttributeInfo& row : dialog_attributes())
        if (row.scope == AttributeScope::Every)
            text += attribute_line(row);
    text += "\nRead only where an element's \"also\" line names them:\n";
    for (const AttributeInfo& row : dialog_attributes())
        if (row.scope == AttributeScope::Numbered || row.scope == AttributeScope::Captioned ||
            row.scope == AttributeScope::Control)
            text += attribute_line(row);
    text += "\nRead from any element directly inside a <gridbox>:\n";
    for (const AttributeInfo& row : dialog_attributes())
        if (row.scope == AttributeScope::GridChild)
            text += attribute_line(row);
    return text + "\n";
}

}  // namespace

std::string dialog_reference_text()
{
    std::string text = std::string(DIALOG_REFERENCE_MARK) + "\n" +
                       std::string(std::char_traits<char>::length(DIALOG_REFERENCE_MARK), '-') + "\n\n";
    text += common_section();
    text += "Each element with its own attributes, the event attributes it allows and its flags\n"
            "(a flag name is looked up in its element's own table, then among the names a program\n"
            "declares; values in hexadecimal):\n\n";
    for (const ElementInfo& element : dialog_elements())
        text += element_section(element);
    return text;
}

std::string dialog_reference_in_guide(const std::string& guide)
{
    std::size_t mark = guide.find(DIALOG_REFERENCE_MARK);
    std::string intro = mark == std::string::npos ? guide : guide.substr(0, mark);
    if (!intro.empty() && intro.back() != '\n')
        intro += '\n';
    return intro + dialog_reference_text();
}
