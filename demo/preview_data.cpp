#include "demo/preview_data.h"

#include "demo/preview_file.h"
#include "dialog/dialog.h"
#include "services/text_convert.h"
#include "toolkit/control.h"
#include "toolkit/controls/list_logic.h"
#include "toolkit/controls/listicon.h"
#include "toolkit/controls/tree.h"
#include "toolkit/controls/combobox.h"

#include <algorithm>
#include <cwchar>

namespace {

// "NAME=VALUE" split at its first "="; false when there is none or the name is empty.
bool split_pair(const wchar_t* argument, std::u16string* name, std::u16string* value)
{
    std::u16string text(reinterpret_cast<const char16_t*>(argument));
    std::size_t equals = text.find(u'=');
    if (equals == std::u16string::npos || equals == 0)
        return false;
    *name = text.substr(0, equals);
    *value = text.substr(equals + 1);
    return true;
}

// One line of the file as the control's kind takes it: a tree's level from its leading
// tabs, a list icon's cells from its tabs.
void add_line(ObjectNumber control, std::u16string line)
{
    int level = 0;
    if (control_kind(control) == CONTROL_KIND_TREE) {
        std::size_t tabs = line.find_first_not_of(u'\t');
        level = static_cast<int>(tabs == std::u16string::npos ? line.size() : tabs);
        line.erase(0, static_cast<std::size_t>(level));
    } else if (control_kind(control) == CONTROL_KIND_LISTICON) {
        std::replace(line.begin(), line.end(), u'\t', LIST_CELL_SEPARATOR);
    }
    control_add_item(control, -1, line.c_str(), 0, level);
}

bool takes_items(ObjectNumber control)
{
    int kind = control_kind(control);
    return kind == CONTROL_KIND_LISTVIEW || kind == CONTROL_KIND_LISTICON || kind == CONTROL_KIND_TREE ||
           kind == CONTROL_KIND_COMBOBOX;
}

bool fill(ObjectNumber dialog, const std::u16string& name, const std::u16string& path, std::string* message)
{
    ObjectNumber control = dialog_control(dialog, name.c_str());
    std::u16string text;
    if (control == -1 || !takes_items(control)) {
        *message = "No list view, list icon, tree or combo box is named " + utf16_to_utf8(name.c_str()) + ".";
        return false;
    }
    if (!preview_read_text(path, &text)) {
        *message = "The items file could not be read: " + utf16_to_utf8(path.c_str());
        return false;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = std::min(text.find(u'\n', start), text.size());
        std::size_t cut = end > start && text[end - 1] == u'\r' ? end - 1 : end;
        add_line(control, text.substr(start, cut - start));
        start = end + 1;
    }
    return true;
}

// A backslash, carriage return and line feed are single bytes in UTF-8, never inside another
// character's bytes.
std::string escaped(const std::u16string& text)
{
    std::string out;
    for (char byte : utf16_to_utf8(text.c_str())) {
        if (byte == '\\')
            out += "\\\\";
        else if (byte == '\r')
            out += "\\r";
        else if (byte == '\n')
            out += "\\n";
        else
            out += byte;
    }
    return out;
}

}  // namespace

int preview_data_option(int argc, wchar_t** argv, int index, PreviewData* data)
{
    std::wstring option = argv[index];
    if (option == L"--dump") {
        data->dump = true;
        return 1;
    }
    if (option != L"--items" && option != L"--state")
        return 0;
    std::u16string name;
    std::u16string value;
    if (index + 1 >= argc || !split_pair(argv[index + 1], &name, &value))
        return -1;
    if (option == L"--items") {
        data->items.emplace_back(name, value);
        return 2;
    }
    wchar_t* end = nullptr;
    long number = std::wcstol(reinterpret_cast<const wchar_t*>(value.c_str()), &end, 10);
    if (value.empty() || *end != L'\0')
        return -1;
    data->states.emplace_back(name, static_cast<int>(number));
    return 2;
}

bool preview_data_apply(ObjectNumber dialog, const PreviewData& data, std::string* message)
{
    for (const auto& [name, path] : data.items) {
        if (!fill(dialog, name, path, message))
            return false;
    }
    for (const auto& [name, state] : data.states) {
        ObjectNumber control = dialog_control(dialog, name.c_str());
        if (control == -1) {
            *message = "No control is named " + utf16_to_utf8(name.c_str()) + ".";
            return false;
        }
        control_set_state(control, state);
    }
    return true;
}

std::string preview_data_dump(const std::map<ObjectNumber, std::string>& names)
{
    std::vector<std::pair<std::string, ObjectNumber>> ordered;
    for (const auto& [control, name] : names)
        ordered.emplace_back(name, control);
    std::sort(ordered.begin(), ordered.end());
    std::string lines;
    for (const auto& [name, control] : ordered) {
        lines += "CONTROL " + name + " " + std::to_string(control_get_state(control)) + " " +
                 escaped(control_get_text(control)) + "\n";
    }
    return lines;
}
