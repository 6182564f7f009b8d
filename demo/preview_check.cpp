#include "demo/preview_check.h"

#include "demo/preview_file.h"
#include "dialog/dialog.h"
#include "dialog/dialog_check.h"
#include "images/image.h"
#include "services/file.h"
#include "services/text_convert.h"
#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/event_window.h"
#include "toolkit/window.h"
#include "xml/xml.h"

#include <cstdio>
#include <string>

namespace {

void print_problem(const std::string& file, const DialogCheckProblem& problem)
{
    std::string place = file;
    if (problem.line > 0)
        place += ":" + std::to_string(problem.line) + ":" + std::to_string(problem.column);
    const std::string line =
        place + (problem.error ? ": error: " : ": warning: ") + utf16_to_utf8(problem.text.c_str()) + "\n";
    std::fputs(line.c_str(), stdout);
}

// The problems of one file; true when one of them is an error.
bool check_file(const wchar_t* path)
{
    const auto* wide = reinterpret_cast<const char16_t*>(path);
    const std::string name = utf16_to_utf8(wide);
    std::u16string text;
    if (!preview_read_text(wide, &text)) {
        print_problem(name, {0, 0, true, u"the definition file could not be read"});
        return true;
    }
    ObjectNumber document = xml_parse_string(GK_ANY, text.c_str());
    if (!document) {
        print_problem(name, {0, 0, true, u"the definition could not be parsed"});
        return true;
    }
    std::vector<DialogCheckProblem> problems = dialog_check_document(document, dialog_registry());
    bool failed = false;
    for (const DialogCheckProblem& problem : problems)
        failed = failed || problem.error;
    // Only a window that reads cleanly is built; the platform's refusal comes after.
    for (const XmlNode* window : failed ? std::vector<const XmlNode*>{} : dialog_check_windows(xml_root(document))) {
        for (const DialogCheckProblem& problem : dialog_check_build(window)) {
            problems.push_back(problem);
            failed = true;
        }
    }
    xml_free(document);
    for (const DialogCheckProblem& problem : problems)
        print_problem(name, problem);
    return failed;
}

}  // namespace

int preview_check(const std::vector<const wchar_t*>& files)
{
    bool failed = false;
    for (const wchar_t* file : files)
        failed = check_file(file) || failed;
    std::fflush(stdout);
    return failed ? 1 : 0;
}

int preview_check_started(const std::vector<const wchar_t*>& files)
{
    if (!(event_start() && event_window_start() && file_start() && xml_start() && dialog_start() &&
          control_start() && window_start() && image_start())) {
        std::fputs("The program's components could not start.\n", stdout);
        return 1;
    }
    return preview_check(files);
}
