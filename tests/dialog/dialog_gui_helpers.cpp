#ifdef _WIN32

#include "dialog_gui.h"

#include "dialog/dialog.h"
#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/event_window.h"
#include "toolkit/window.h"
#include "xml/xml.h"

#include <cstdio>

bool gui_start_dialogs()
{
    return event_start() && event_window_start() && window_start() && control_start() && xml_start() &&
           dialog_start();
}

ObjectNumber gui_open_definition(const std::u16string& text, const char16_t* window_name, bool* opened)
{
    ObjectNumber dialog = dialog_create(GK_ANY);
    ObjectNumber document = xml_parse_string(GK_ANY, text.c_str());
    *opened = dialog && dialog_open(dialog, document, window_name) == 1;
    xml_free(document);
    return dialog;
}

std::u16string gui_example_definition()
{
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring path = own;
    path.resize(path.find_last_of(L'\\'));
    path.resize(path.find_last_of(L'\\') + 1);
    FILE* file = _wfopen((path + L"demo\\example_dialog.xml").c_str(), L"rb");
    std::string bytes;
    char buffer[4096];
    for (size_t read = 0; file && (read = fread(buffer, 1, sizeof(buffer), file)) > 0;)
        bytes.append(buffer, read);
    if (file)
        fclose(file);
    std::u16string text(bytes.size(), u'\0');
    int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                     reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    return text;
}

void gui_settle()
{
    while (event_wait(0) != 0) {
    }
    while (event_pop() != 0) {
    }
}

bool gui_settle_until(const std::function<bool()>& condition, int timeout_ms)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > static_cast<DWORD>(timeout_ms))
            return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        gui_settle();
    }
    return true;
}

RECT gui_control_rect(ObjectNumber control)
{
    auto handle = static_cast<HWND>(control_os_handle(control));
    RECT rect = {};
    GetWindowRect(handle, &rect);
    MapWindowPoints(nullptr, GetParent(handle), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE gui_client_size(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

std::string gui_narrow(const std::u16string& text)
{
    return std::string(text.begin(), text.end());
}

namespace {

BOOL CALLBACK count_window(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

}  // namespace

int gui_thread_window_count()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), count_window, reinterpret_cast<LPARAM>(&count));
    return count;
}

void DialogGuiTest::SetUp()
{
    ASSERT_TRUE(gui_start_dialogs());
}

void DialogGuiTest::TearDown()
{
    dialog_free(GK_ANY);
}

void DialogGuiTest::open(const std::u16string& definition)
{
    bool opened = false;
    dialog = gui_open_definition(definition, nullptr, &opened);
    ASSERT_TRUE(opened) << gui_narrow(dialog_error(dialog));
    window = static_cast<HWND>(window_os_handle(dialog_window(dialog)));
    gui_settle();
}

ObjectNumber DialogGuiTest::control(const char16_t* name) const
{
    return dialog_control(dialog, name);
}

#endif
