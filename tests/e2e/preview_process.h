// DialogPreview run as a person runs it, for the end-to-end tests: one run of the program
// with its standard output collected by a reading thread.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <thread>

class Preview {
public:
    // Starts DialogPreview.exe of the build (or the given program) in its own folder with
    // the arguments.
    explicit Preview(const std::wstring& arguments, const std::wstring& program = L"");
    ~Preview();
    Preview(const Preview&) = delete;
    Preview& operator=(const Preview&) = delete;

    bool started() const { return started_; }
    std::string output();
    bool output_has(const std::string& line) { return output().find(line) != std::string::npos; }
    // The exit code once the program has ended within the time, else -1.
    int exit_code(DWORD timeout_ms);
    DWORD process_id() const { return process_.dwProcessId; }

private:
    void read_all();

    HANDLE read_end_ = nullptr;
    PROCESS_INFORMATION process_ = {};
    bool started_ = false;
    std::thread reader_;
    std::mutex lock_;
    std::string output_;
};

// The program's top-level window with the title, once it shows (null after 20 s).
HWND wait_for_window(const Preview& preview, const wchar_t* title);
