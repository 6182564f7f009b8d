// DialogPreview [--image NAME=FILE]... [--text NAME=FILE]... [--items NAME=FILE]...
// [--state NAME=NUMBER]... [--dump] [--watch] [--scale PERCENT] <definition file> [window name]:
// opens a window of a dialog definition (the first one when no name is given)
// and writes one line to standard output for every event it receives: the event, the
// control's name from the definition (or the object's number), the type (a canvas's types
// with their names). A faulty definition prints the dialog engine's message and exits with
// code 1; closing the window exits with 0. --image shows a picture in the named image, image
// button or canvas (demo/preview_images.h); --text sets a control's text from a file
// (demo/preview_text.h); --items, --state and --dump give sample data and print every named
// control's state and text at closing (demo/preview_data.h); --watch opens the window again, in the same place, whenever the
// definition file changes, and keeps the last good window when the changed definition is
// faulty. --check FILE... prints every problem of each definition and opens no window
// (demo/preview_check.h). --size gives the window an inner size; --screenshot FILE.png
// writes the painted window to the file and ends (demo/preview_screenshot.h); --scale shows the
// window at another display scale (demo/preview_scale.h).
#include "demo/preview_check.h"
#include "demo/preview_data.h"
#include "demo/preview_file.h"
#include "demo/preview_images.h"
#include "demo/preview_scale.h"
#include "demo/preview_screenshot.h"
#include "demo/preview_text.h"
#include "demo/preview_watch.h"
#include "dialog/dialog.h"
#include "images/image.h"
#include "services/file.h"
#include "services/text_convert.h"
#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/event_window.h"
#include "toolkit/window.h"
#include "xml/xml.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

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
    dialog_free(dialog);
    return 0;
}

struct PreviewOptions {
    std::vector<PreviewImage> images;
    std::vector<PreviewText> texts;
    PreviewData data;
    bool watch = false;
    bool check = false;
    std::u16string screenshot;
    PreviewSize size;
    int scale = 0;  // percent; 0 as the display is
};

// The window of the definition file with the options' texts set; 0 after a message.
ObjectNumber open_file(const wchar_t* path, const wchar_t* window_name, const PreviewOptions& options,
                       std::map<ObjectNumber, std::string>* names)
{
    std::u16string text;
    if (!preview_read_text(reinterpret_cast<const char16_t*>(path), &text)) {
        fail("The definition file could not be read: " + utf16_to_utf8(reinterpret_cast<const char16_t*>(path)));
        return 0;
    }
    ObjectNumber dialog = open_dialog(text, window_name, names);
    std::string message;
    if (dialog && !(preview_text_apply(dialog, options.texts, &message) &&
                    preview_data_apply(dialog, options.data, &message))) {
        fail(message);
        dialog_free(dialog);
        return 0;
    }
    if (dialog) {
        for (const std::string& missing : preview_show_images(dialog, options.images))
            print_line(missing);
        preview_scale_apply(dialog, options.scale);
    }
    return dialog;
}

// The changed file's window replaces the last good one, in its place; a faulty version
// leaves the last good one open.
void reopen(const wchar_t* path, const wchar_t* window_name, const PreviewOptions& options, ObjectNumber* dialog,
            std::map<ObjectNumber, std::string>* names)
{
    std::map<ObjectNumber, std::string> fresh;
    ObjectNumber opened = open_file(path, window_name, options, &fresh);
    if (!opened)
        return;
    preview_watch_place_like(window_os_handle(dialog_window(opened)), window_os_handle(dialog_window(*dialog)));
    dialog_free(*dialog);
    *dialog = opened;
    *names = fresh;
    print_line("The definition was opened again.");
}

void report(int event, const std::map<ObjectNumber, std::string>& names)
{
    const char* name = name_of_event(event);
    if (!name)
        return;
    ObjectNumber object = event_control();
    auto found = event == EVENT_GADGET ? names.find(object) : names.end();
    std::string shown = found != names.end() ? found->second : std::to_string(object);
    print_line(std::string(name) + " " + shown + " " + preview_type_text(event_type()));
}

int run(const wchar_t* path, const wchar_t* window_name, const PreviewOptions& options)
{
    if (!(event_start() && event_window_start() && file_start() && xml_start() && dialog_start() &&
          control_start() && window_start() && image_start()))
        return fail("The program's components could not start.");
    PreviewWatch watch;
    preview_watch_start(&watch, path);
    std::map<ObjectNumber, std::string> names;
    ObjectNumber dialog = open_file(path, window_name, options, &names);
    if (!dialog)
        return EXIT_FAULTY;
    preview_size_apply(dialog, options.size);
    if (!options.screenshot.empty()) {
        std::string message;
        return preview_screenshot(dialog, options.screenshot, &message) ? 0 : fail(message);
    }
    for (;;) {
        int event = event_wait(options.watch ? PREVIEW_WATCH_INTERVAL : -1);
        if (options.watch && preview_watch_changed(&watch))
            reopen(path, window_name, options, &dialog, &names);
        report(event, names);
        if (event == EVENT_CLOSE_WINDOW) {
            std::fputs(options.data.dump ? preview_data_dump(names).c_str() : "", stdout);
            std::fflush(stdout);
            return 0;
        }
    }
}

// Options first or anywhere; what is no option is the file and the window name.
bool parse_arguments(int argc, wchar_t** argv, PreviewOptions* options, std::vector<const wchar_t*>* positional)
{
    for (int i = 1; i < argc; ++i) {
        std::wstring_view argument(argv[i]);
        PreviewText text;
        if (argument == L"--watch") {
            options->watch = true;
        } else if (argument == L"--check") {
            options->check = true;
        } else if (argument == L"--screenshot") {
            if (i + 1 == argc)
                return false;
            options->screenshot = reinterpret_cast<const char16_t*>(argv[++i]);
        } else if (argument == L"--size") {
            if (i + 1 == argc || !preview_parse_size(argv[++i], &options->size))
                return false;
        } else if (argument == L"--image") {
            if (i + 1 == argc || !preview_parse_image(argv[++i], &options->images))
                return false;
        } else if (argument == L"--scale") {
            if (i + 1 == argc || !preview_scale_parse(argv[++i], &options->scale))
                return false;
        } else if (argument == L"--text") {
            if (i + 1 == argc || !preview_text_parse(argv[++i], &text))
                return false;
            options->texts.push_back(text);
        } else if (int used = preview_data_option(argc, argv, i, &options->data); used != 0) {
            if (used < 0)
                return false;
            i += used - 1;
        } else {
            positional->push_back(argv[i]);
        }
    }
    return !positional->empty() && (options->check || positional->size() <= 2);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    // Lines end in a bare line feed, also when the output goes to a pipe.
    _setmode(_fileno(stdout), _O_BINARY);
    preview_scale_aware();
    PreviewOptions options;
    std::vector<const wchar_t*> positional;
    if (!parse_arguments(argc, argv, &options, &positional))
        return fail("usage: DialogPreview [--image NAME=FILE]... [--text NAME=FILE]... [--items NAME=FILE]... "
                    "[--state NAME=NUMBER]... [--dump] [--watch] [--size WxH] [--screenshot FILE.png] [--scale PERCENT] "
                    "<definition file> [window name]\n"
                    "       DialogPreview --check <definition file>...");
    if (options.check)
        ExitProcess(static_cast<UINT>(preview_check_started(positional)));
    int code = run(positional[0], positional.size() > 1 ? positional[1] : nullptr, options);
    ExitProcess(static_cast<UINT>(code));
}
