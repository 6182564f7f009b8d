// DialogPreview run as a person runs it: the example definition opens, a real click is
// reported as a line of output, closing the window ends the program with 0, and a faulty
// definition prints the engine's message and ends it with 1.
#include "journal_helpers.h"

#include "tests/support/gui_input.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace {

// One run of the program with its standard output collected by a reading thread.
class Preview {
public:
    explicit Preview(const std::wstring& arguments)
    {
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
        HANDLE write_end = nullptr;
        if (!CreatePipe(&read_end_, &write_end, &inherit, 0))
            return;
        SetHandleInformation(read_end_, HANDLE_FLAG_INHERIT, 0);
        std::wstring program = build_file(L"demo\\") + L"DialogPreview.exe";
        std::wstring command = L"\"" + program + L"\" " + arguments;
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = write_end;
        startup.hStdError = write_end;
        started_ = CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                  build_file(L"demo\\").c_str(), &startup, &process_) != FALSE;
        CloseHandle(write_end);
        reader_ = std::thread([this] { read_all(); });
    }

    ~Preview()
    {
        if (started_ && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.hProcess, 99);
        if (reader_.joinable())
            reader_.join();
        if (started_) {
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
        if (read_end_)
            CloseHandle(read_end_);
    }

    bool started() const { return started_; }

    std::string output()
    {
        std::lock_guard<std::mutex> guard(lock_);
        return output_;
    }

    bool output_has(const std::string& line) { return output().find(line) != std::string::npos; }

    // The exit code once the program has ended within the time, else -1.
    int exit_code(DWORD timeout_ms)
    {
        if (WaitForSingleObject(process_.hProcess, timeout_ms) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<int>(code);
    }

    DWORD process_id() const { return process_.dwProcessId; }

private:
    void read_all()
    {
        char buffer[512];
        DWORD got = 0;
        while (ReadFile(read_end_, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
            std::lock_guard<std::mutex> guard(lock_);
            output_.append(buffer, got);
        }
    }

    HANDLE read_end_ = nullptr;
    PROCESS_INFORMATION process_ = {};
    bool started_ = false;
    std::thread reader_;
    std::mutex lock_;
    std::string output_;
};

struct Search {
    const wchar_t* text;
    HWND found;
};

BOOL CALLBACK find_child(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    if (std::wstring(text) != search->text)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND wait_for_window(const Preview& preview, const wchar_t* title)
{
    HWND found = nullptr;
    gui_poll_until([&] {
        found = find_process_window(preview.process_id(), title);
        return found != nullptr;
    });
    return found;
}

TEST(DialogPreview, ExampleOpensReportsARealClickAndEndsWithZero)
{
    Preview preview(L"example_dialog.xml");
    ASSERT_TRUE(preview.started()) << last_error_text();
    HWND window = wait_for_window(preview, L"Every element");
    ASSERT_NE(window, nullptr) << preview.output();
    Search button = {L"OK", nullptr};
    EnumChildWindows(window, find_child, reinterpret_cast<LPARAM>(&button));
    ASSERT_NE(button.found, nullptr);
    ASSERT_TRUE(gui_bring_to_front(window));
    gui_click_screen(gui_window_center(button.found));
    EXPECT_TRUE(gui_poll_until([&] { return preview.output_has("EVENT_GADGET cmdOk 0\n"); })) << preview.output();

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(preview.exit_code(20000), 0);
    // The reading thread may still be taking the last line when the program has ended.
    EXPECT_TRUE(gui_poll_until([&] { return preview.output_has("EVENT_CLOSE_WINDOW "); })) << preview.output();
}

TEST(DialogPreview, FaultyDefinitionPrintsTheMessageAndEndsWithOne)
{
    TempFolder folder("qn-preview");
    // UTF-16 with its mark, as an editor may save it.
    std::u16string text = u"\xFEFF<window name='w'><vbox><text flags='#GK_Text_Right|#Nope'/></vbox></window>";
    ASSERT_TRUE(raw_write(folder / u"faulty.xml",
                          std::string_view(reinterpret_cast<const char*>(text.data()), text.size() * 2)));
    std::u16string path = folder / u"faulty.xml";
    Preview preview(L"\"" + std::wstring(path.begin(), path.end()) + L"\"");
    ASSERT_TRUE(preview.started());
    EXPECT_EQ(preview.exit_code(20000), 1);
    EXPECT_TRUE(gui_poll_until([&] {
        return preview.output_has("'#Nope' flag is not supported for the following gadget: text\n");
    })) << preview.output();

    Preview missing(L"no-such-file.xml");
    EXPECT_EQ(missing.exit_code(20000), 1);
    Preview unnamed(L"example_dialog.xml noSuchWindow");
    EXPECT_EQ(unnamed.exit_code(20000), 1);
    EXPECT_TRUE(gui_poll_until([&] { return unnamed.output_has("Dialog window not found\n"); }))
        << unnamed.output();
}

// Sample data: items from files (tree levels by tabs, list icon cells by tabs), states set
// after opening, and one CONTROL line per named control, escaped, after the event lines.
TEST(DialogPreview, SampleDataFillsListsSetsStatesAndIsDumpedAtClosing)
{
    TempFolder folder("qn-preview");
    ASSERT_TRUE(raw_write(folder / u"lists.xml",
                          "<window name='w' text='Sample data'><vbox><listicon name='files' text='Name' height='90'/>"
                          "<tree name='folders' height='90'/><combobox name='pick'/><date name='when' text='yyyy-MM-dd'/>"
                          "</vbox></window>"));
    ASSERT_TRUE(raw_write(folder / u"files.txt", "a.txt\t12\nb\\c.txt\t7\n"));
    ASSERT_TRUE(raw_write(folder / u"folders.txt", "Root\n\tChild\n\t\tLeaf\n"));
    ASSERT_TRUE(raw_write(folder / u"pick.txt", "One\r\nTwo\r\n"));
    auto quoted = [&](const char16_t* name) {
        std::u16string path = folder / name;
        return L"\"" + std::wstring(path.begin(), path.end()) + L"\"";
    };
    Preview preview(quoted(u"lists.xml") + L" --items files=" + quoted(u"files.txt") + L" --items folders=" +
                    quoted(u"folders.txt") + L" --items pick=" + quoted(u"pick.txt") +
                    L" --state files=1 --state folders=2 --state pick=1 --state when=1709208000 --dump");
    ASSERT_TRUE(preview.started()) << last_error_text();
    HWND window = wait_for_window(preview, L"Sample data");
    ASSERT_NE(window, nullptr) << preview.output();
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(preview.exit_code(20000), 0);
    EXPECT_TRUE(gui_poll_until([&] { return preview.output_has("CONTROL when 1709208000 "); })) << preview.output();
    std::string output = preview.output();
    std::size_t close = output.find("EVENT_CLOSE_WINDOW ");
    EXPECT_LT(close, output.find("CONTROL files 1 b\\\\c.txt\\n7\n")) << output;
    EXPECT_NE(output.find("CONTROL folders 2 Leaf\n"), std::string::npos) << output;
    EXPECT_NE(output.find("CONTROL pick 1 Two\n"), std::string::npos) << output;

    Preview wrong(quoted(u"lists.xml") + L" --items when=" + quoted(u"pick.txt"));
    EXPECT_EQ(wrong.exit_code(20000), 1);
}

}  // namespace
