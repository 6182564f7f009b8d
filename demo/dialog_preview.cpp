// DialogPreview <definition file> [window name] [options]: opens a window of a dialog
// definition (the first one when no name is given) and writes one line to standard output for
// every event it receives: the event, the control's name from the definition (or the object's number),
// the type. A faulty definition prints the dialog engine's message and exits with code 1;
// closing the window exits with 0. The options give sample data (demo/preview_data.h).
#include "demo/preview_data.h"
#include "dialog/dialog.h"
#include "services/file.h"
#include "services/text_convert.h"
#include "services/text_decode.h"
#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/event_window.h"
#include "toolkit/window.h"
#include "xml/xml.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cwchar>
#include <map>
#include <string>

namespace {

constexpr int EXIT_FAULTY = 1;

struct EventName {
    int event;
    const char* name;
};

constexpr EventName EVENT_NAMES[] = {
    {EVENT_GADGET, "EVENT_GADGET"},
    {EVENT_MENU, "EVENT_MENU"},
    {EVENT_ACTIVATE_WINDOW, "EVENT_ACTIVATE_WINDOW"},
    {EVENT_MINIMIZE_WINDOW, "EVENT_MINIMIZE_WINDOW"},
    {EVENT_MAXIMIZE_WINDOW, "EVENT_MAXIMIZE_WINDOW"},
    {EVENT_RESTORE_WINDOW, "EVENT_RESTORE_WINDOW"},
    {EVENT_TIMER, "EVENT_TIMER"},
    {EVENT_RIGHT_CLICK, "EVENT_RIGHT_CLICK"},
    {EVENT_LEFT_CLICK, "EVENT_LEFT_CLICK"},
    {EVENT_LEFT_DOUBLE_CLICK, "EVENT_LEFT_DOUBLE_CLICK"},
    {EVENT_DEACTIVATE_WINDOW, "EVENT_DEACTIVATE_WINDOW"},
    {EVENT_REPAINT_WINDOW, "EVENT_REPAINT_WINDOW"},
    {EVENT_CLOSE_WINDOW, "EVENT_CLOSE_WINDOW"},
    {EVENT_MOVE_WINDOW, "EVENT_MOVE_WINDOW"},
    {EVENT_SIZE_WINDOW, "EVENT_SIZE_WINDOW"},
};

const char* name_of_event(int event)
{
    for (const EventName& entry : EVENT_NAMES) {
        if (entry.event == event)
            return entry.name;
    }
    return nullptr;
}

void print_line(const std::string& line)
{
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

// The whole file as text, or false when it cannot be read.
bool read_definition(const wchar_t* path, std::u16string* text)
{
    ObjectNumber file = file_open_read(GK_ANY, reinterpret_cast<const char16_t*>(path), 0);
    if (!file)
        return false;
    std::int64_t length = file_length(file);
    std::string bytes(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    bool read = file_read_data(file, bytes.data(), static_cast<std::int64_t>(bytes.size())) == length;
    file_close(file);
    *text = text_decode(bytes);
    return read;
}

// Every element name the definition gives, by the control made for it.
void collect_names(ObjectNumber dialog, const XmlNode* node, std::map<ObjectNumber, std::string>* names)
{
    for (const XmlNode* child = xml_node_first_child(node); child; child = xml_node_next_sibling(child)) {
        if (xml_node_kind(child) != XML_KIND_ELEMENT)
            continue;
        if (const char16_t* name = xml_node_attribute(child, u"name")) {
            ObjectNumber control = dialog_control(dialog, name);
            if (control != -1 && !names->count(control))
                (*names)[control] = utf16_to_utf8(name);
        }
        collect_names(dialog, child, names);
    }
}

int fail(const std::string& message)
{
    print_line(message);
    return EXIT_FAULTY;
}

// Opens the window; its control names go to *names. Returns the dialog, 0 after a message.
ObjectNumber open_dialog(const std::u16string& text, const wchar_t* window_name,
                         std::map<ObjectNumber, std::string>* names)
{
    ObjectNumber document = xml_parse_string(GK_ANY, text.c_str());
    ObjectNumber dialog = dialog_create(GK_ANY);
    if (!dialog || !document) {
        xml_free(document);
        fail("The definition could not be parsed.");
        return 0;
    }
    bool opened = dialog_open(dialog, document, reinterpret_cast<const char16_t*>(window_name)) == 1;
    if (opened)
        collect_names(dialog, xml_document_node(document), names);
    xml_free(document);
    if (opened)
        return dialog;
    fail(utf16_to_utf8(dialog_error(dialog).c_str()));
    return 0;
}

void report(int event, const std::map<ObjectNumber, std::string>& names)
{
    const char* name = name_of_event(event);
    if (!name)
        return;
    ObjectNumber object = event_control();
    auto found = event == EVENT_GADGET ? names.find(object) : names.end();
    std::string shown = found != names.end() ? found->second : std::to_string(object);
    print_line(std::string(name) + " " + shown + " " + std::to_string(event_type()));
}

int run(const wchar_t* path, const wchar_t* window_name, const PreviewData& data)
{
    if (!(event_start() && event_window_start() && file_start() && xml_start() && dialog_start() &&
          control_start() && window_start()))
        return fail("The program's components could not start.");
    std::u16string text;
    if (!read_definition(path, &text))
        return fail("The definition file could not be read: " + utf16_to_utf8(reinterpret_cast<const char16_t*>(path)));
    std::map<ObjectNumber, std::string> names;
    ObjectNumber dialog = open_dialog(text, window_name, &names);
    std::string message;
    if (!dialog || !preview_data_apply(dialog, data, &message))
        return dialog ? fail(message) : EXIT_FAULTY;
    for (;;) {
        int event = event_wait_forever();
        report(event, names);
        if (event == EVENT_CLOSE_WINDOW) {
            std::fputs(data.dump ? preview_data_dump(names).c_str() : "", stdout);
            std::fflush(stdout);
            return 0;
        }
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    // Lines end in a bare line feed, also when the output goes to a pipe.
    _setmode(_fileno(stdout), _O_BINARY);
    constexpr const char* USAGE = "usage: DialogPreview <definition file> [window name] [--items NAME=FILE] "
                                  "[--state NAME=NUMBER] [--dump]";
    if (argc < 2)
        return fail(USAGE);
    const wchar_t* window_name = argc > 2 && std::wcsncmp(argv[2], L"--", 2) != 0 ? argv[2] : nullptr;
    PreviewData data;
    for (int index = window_name ? 3 : 2, used = 0; index < argc; index += used) {
        used = preview_data_option(argc, argv, index, &data);
        if (used <= 0)
            return fail(USAGE);
    }
    int code = run(argv[1], window_name, data);
    ExitProcess(static_cast<UINT>(code));
}
