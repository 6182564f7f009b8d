#include "dialog/dialog.h"

#include "dialog/dialog_build_win.h"
#include "dialog/dialog_layout_host_win.h"
#include "dialog/dialog_reader.h"
#include "dialog/dialog_scale.h"
#include "dialog/layout.h"
#include "services/text_convert.h"
#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/scale.h"
#include "toolkit/window.h"

#include <new>
#include <unordered_map>

namespace {

constexpr std::size_t DIALOG_TABLE_GROWTH = 16;
constexpr std::size_t WINDOW_MAP_BUCKETS = 256;
constexpr std::size_t PART_MAP_BUCKETS = 1024;

struct DialogObject {
    DialogTree tree;  // root null while no window is open
    DialogMessage message;
    void* window_handle = nullptr;  // the platform window opened, to tell it from a later one of the same number
    bool laying_out = false;  // both passes run; size events of the window wait for their end
    DialogScale scale;        // the definition's pixel values and the resolution the tree holds them for
    LayoutHost host;          // answers for the window's resolution
    int natural_width = 0;    // the window's inner size the last request pass asked for
    int natural_height = 0;
};

// The table's record; its primary handle is the object.
struct DialogRecord {
    DialogObject* object;
};

struct SplitterPart {
    DialogObject* dialog;
    SplitterElement* splitter;
    int index;
};

struct DialogState {
    ObjectTable* table = nullptr;
    std::unordered_map<ObjectNumber, DialogObject*> windows{WINDOW_MAP_BUCKETS};
    std::unordered_map<ObjectNumber, SplitterPart> parts{PART_MAP_BUCKETS};
    RuntimeRegistryPtr registry;
};

DialogState* g_dialogs = nullptr;

DialogObject* find(ObjectNumber dialog)
{
    if (!g_dialogs)
        return nullptr;
    auto* record = static_cast<DialogRecord*>(object_get(g_dialogs->table, dialog));
    return record ? record->object : nullptr;
}

// A window that changed size lays its content out again; requests stay as stored.
void on_size_window()
{
    auto found = g_dialogs->windows.find(event_window());
    if (found == g_dialogs->windows.end() || found->second->laying_out)
        return;
    ContainerElement* root = found->second->tree.root;
    layout_allocate(root, &found->second->host, 0, 0, window_client_width(root->window),
                    window_client_height(root->window));
}

// A splitter part that changed lays out the child it holds at the part's size.
void on_part_event()
{
    ObjectNumber part = event_control();
    auto found = g_dialogs->parts.find(part);
    if (found == g_dialogs->parts.end())
        return;
    layout_splitter_part(found->second.splitter, &found->second.dialog->host, found->second.index, control_width(part),
                         control_height(part));
}

bool register_parts(DialogObject* dialog)
{
    ObjectNumber window = dialog->tree.root->window;
    for (const ElementPtr& element : dialog->tree.elements) {
        if (element->kind != ELEMENT_SPLITTER || element->control == -1)
            continue;
        auto* splitter = static_cast<SplitterElement*>(element.get());
        for (int i = 0; i < SPLITTER_CHILDREN; ++i) {
            g_dialogs->parts[splitter->parts[i]] = {dialog, splitter, i};
            if (!event_bind(EVENT_GADGET, on_part_event, window, splitter->parts[i], -1))
                return false;
        }
    }
    return true;
}

void forget_parts(const DialogObject* dialog)
{
    ObjectNumber window = dialog->tree.root->window;
    for (const ElementPtr& element : dialog->tree.elements) {
        if (element->kind != ELEMENT_SPLITTER)
            continue;
        for (ObjectNumber part : static_cast<SplitterElement*>(element.get())->parts) {
            auto found = g_dialogs->parts.find(part);
            if (part == -1 || found == g_dialogs->parts.end() || found->second.dialog != dialog)
                continue;
            g_dialogs->parts.erase(found);
            event_unbind(EVENT_GADGET, on_part_event, window, part, -1);
        }
    }
}

// The window may have been closed behind the dialog's back and its number reused.
bool owns_window(const DialogObject* dialog)
{
    ObjectNumber window = dialog->tree.root->window;
    return window_exists(window) && window_os_handle(window) == dialog->window_handle;
}

// Destroys the element tree and closes the window with its controls.
void close_dialog(DialogObject* dialog)
{
    ContainerElement* root = dialog->tree.root;
    if (!root)
        return;
    if (root->window != -1) {
        forget_parts(dialog);
        auto found = g_dialogs->windows.find(root->window);
        if (found != g_dialogs->windows.end() && found->second == dialog)
            g_dialogs->windows.erase(found);
        event_unbind_window(EVENT_SIZE_WINDOW, on_size_window, root->window);
        if (owns_window(dialog))
            window_close(root->window);
    }
    dialog->tree.elements.clear();
    dialog->tree.root = nullptr;
}

void free_one(ObjectNumber number)
{
    DialogObject* dialog = find(number);
    if (!dialog)
        return;
    close_dialog(dialog);
    delete dialog;
    object_free(g_dialogs->table, number);
}

void init_state(void* block)
{
    new (block) DialogState;
}

// Gives the tree its sizes and the host its answers for the resolution.
void use_resolution(DialogObject* dialog, int dpi)
{
    dialog_scale_apply(&dialog->scale, dpi);
    dialog->host = dialog_layout_host(dpi);
}

bool open_window(DialogObject* dialog, int x, int y, int width, int height, void* parent)
{
    ContainerElement* root = dialog->tree.root;
    // The window opens where its parent's resolution holds (the display's without one).
    int dpi = scale_window_dpi(parent);
    use_resolution(dialog, dpi);
    width = width > 0 ? scale_pixels(width, dpi) : width;
    height = height > 0 ? scale_pixels(height, dpi) : height;
    const char16_t* title = root->has_text ? root->text.c_str() : u"";
    ObjectNumber made = window_open(root->requested, x, y, width, height, title, root->flags | GK_Window_Invisible,
                                    parent);
    dialog_message_locate(&dialog->message, root->line, root->column);
    if (!made) {
        dialog_message_report(&dialog->message, MESSAGE_WINDOW_FAILED, root->info->name);
        return false;
    }
    root->window = root->requested == -1 ? made : root->requested;
    dialog->window_handle = window_os_handle(root->window);
    g_dialogs->windows[root->window] = dialog;
    if (!event_bind_window(EVENT_SIZE_WINDOW, on_size_window, root->window)) {
        dialog_message_report(&dialog->message, MESSAGE_BINDING_FAILED, root->info->name);
        return false;
    }
    return true;
}

// Both passes at max(given, requested) size; the window's inner size follows.
void lay_out(DialogObject* dialog, int width, int height)
{
    ContainerElement* root = dialog->tree.root;
    dialog->laying_out = true;
    layout_window(root, &dialog->host, &width, &height, &dialog->natural_width, &dialog->natural_height);
    dialog->laying_out = false;
    window_resize(root->window, UNCHANGED, UNCHANGED, width, height);
}

// A window's resolution changed: its tree takes the sizes for the new one and the window
// is laid out again at the inner size given.
bool dialog_scale_changed(ObjectNumber window, int width, int height)
{
    if (!g_dialogs)
        return false;
    auto found = g_dialogs->windows.find(window);
    if (found == g_dialogs->windows.end() || !owns_window(found->second))
        return false;
    DialogObject* dialog = found->second;
    // A window at its natural size stays at its natural size, which text and the platform's
    // own measures do not make exactly proportional; one made larger keeps its proportion.
    ObjectNumber number = dialog->tree.root->window;
    if (window_client_width(number) == dialog->natural_width && window_client_height(number) == dialog->natural_height)
        width = height = 0;
    use_resolution(dialog, scale_window_dpi(dialog->window_handle));
    dialog_reapply_sizes(&dialog->tree);
    lay_out(dialog, width, height);
    return true;
}

}  // namespace

int dialog_start()
{
    if (g_dialogs)
        return 1;
    auto* state = static_cast<DialogState*>(state_block_new(sizeof(DialogState), init_state));
    if (!state)
        return 0;
    state->table = object_table_new(sizeof(DialogRecord), DIALOG_TABLE_GROWTH, free_one);
    state->registry = runtime_registry_new();
    if (!state->table || !state->registry)
        return 0;
    scale_set_change_hook(dialog_scale_changed);
    g_dialogs = state;
    return 1;
}

void dialog_end()
{
    dialog_free(GK_ANY);
}

ObjectNumber dialog_create(ObjectNumber number)
{
    if (!g_dialogs)
        return 0;
    auto* record = static_cast<DialogRecord*>(object_new(g_dialogs->table, number));
    if (!record)
        return 0;
    ObjectNumber made = object_number_for(number, record);
    auto* dialog = new (std::nothrow) DialogObject;
    if (!dialog) {
        object_free(g_dialogs->table, made);
        return 0;
    }
    record->object = dialog;
    return number == GK_ANY ? made : reinterpret_cast<ObjectNumber>(dialog);
}

int dialog_open(ObjectNumber dialog, ObjectNumber document, const char16_t* window_name, int x, int y, int width,
                int height, void* parent)
{
    DialogObject* object = find(dialog);
    if (!object)
        return 0;
    // A dialog holds one window: a second open replaces the first.
    close_dialog(object);
    dialog_message_clear(&object->message);
    if (!dialog_read_document(document, window_name, g_dialogs->registry.get(), &object->tree, &object->message))
        return 0;
    dialog_scale_capture(&object->scale, object->tree);
    if (!open_window(object, x, y, width, height, parent) || !dialog_build_controls(&object->tree, &object->message) ||
        !register_parts(object)) {
        close_dialog(object);
        return 0;
    }
    lay_out(object, width, height);
    ContainerElement* root = object->tree.root;
    if (root->flags & (GK_Window_ScreenCentered | GK_Window_WindowCentered)) {
        int mode = (root->flags & GK_Window_ScreenCentered) ? WINDOW_CENTER_SCREEN : WINDOW_CENTER_PARENT;
        window_center(window_os_handle(root->window), mode, parent);
    }
    if (!(root->flags & GK_Window_Invisible))
        window_hide(root->window, 0, root->flags & GK_Window_NoActivate);
    return 1;
}

ObjectNumber dialog_window(ObjectNumber dialog)
{
    DialogObject* object = find(dialog);
    return object && object->tree.root ? object->tree.root->window : -1;
}

ObjectNumber dialog_control(ObjectNumber dialog, const char16_t* name)
{
    DialogObject* object = find(dialog);
    if (!object || !object->tree.root || !name)
        return -1;
    DialogElement* element = dialog_element_find(object->tree.root, name);
    return element ? element->control : -1;
}

void dialog_refresh(ObjectNumber dialog)
{
    DialogObject* object = find(dialog);
    if (!object || !object->tree.root || !owns_window(object))
        return;
    ObjectNumber window = object->tree.root->window;
    lay_out(object, window_client_width(window), window_client_height(window));
}

std::u16string dialog_error(ObjectNumber dialog)
{
    DialogObject* object = find(dialog);
    if (!object || !object->message.set)
        return {};
    return ansi_to_utf16(object->message.text.c_str());
}

void dialog_free(ObjectNumber dialog)
{
    if (!g_dialogs)
        return;
    if (dialog == GK_ANY)
        object_free_all(g_dialogs->table);
    else
        free_one(dialog);
}

std::int32_t dialog_error_line(ObjectNumber dialog)
{
    DialogObject* object = find(dialog);
    return object && object->message.set ? object->message.line : 0;
}

std::int32_t dialog_error_column(ObjectNumber dialog)
{
    DialogObject* object = find(dialog);
    return object && object->message.set ? object->message.column : 0;
}

RuntimeRegistry* dialog_registry()
{
    return g_dialogs ? g_dialogs->registry.get() : nullptr;
}
