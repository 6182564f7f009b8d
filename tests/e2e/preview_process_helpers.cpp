#include "preview_process.h"

#include "journal_helpers.h"

#include "tests/support/gui_input.h"

Preview::Preview(const std::wstring& arguments, const std::wstring& program_path)
{
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE write_end = nullptr;
    if (!CreatePipe(&read_end_, &write_end, &inherit, 0))
        return;
    SetHandleInformation(read_end_, HANDLE_FLAG_INHERIT, 0);
    std::wstring program = program_path.empty() ? build_file(L"demo\\") + L"DialogPreview.exe" : program_path;
    std::wstring folder = program.substr(0, program.find_last_of(L'\\') + 1);
    std::wstring command = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write_end;
    startup.hStdError = write_end;
    started_ = CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                              &startup, &process_) != FALSE;
    CloseHandle(write_end);
    reader_ = std::thread([this] { read_all(); });
}

Preview::~Preview()
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

std::string Preview::output()
{
    std::lock_guard<std::mutex> guard(lock_);
    return output_;
}

int Preview::exit_code(DWORD timeout_ms)
{
    if (WaitForSingleObject(process_.hProcess, timeout_ms) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
}

void Preview::read_all()
{
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(read_end_, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        std::lock_guard<std::mutex> guard(lock_);
        output_.append(buffer, got);
    }
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
