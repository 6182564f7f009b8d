// dialog_guide GUIDE: writes the engine's reference into the authors' guide below its mark,
// keeping the hand-written part above it. The build runs it every time; the file is
// written only when its text changes.
#include "dialog/dialog_reference.h"

#include <cstdio>
#include <string>

namespace {

bool read_all(const char* path, std::string* text)
{
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text->append(buffer, read);
    const bool complete = !std::ferror(file);
    std::fclose(file);
    return complete;
}

bool write_all(const char* path, const std::string& text)
{
    std::FILE* file = std::fopen(path, "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string guide;
    if (argc != 2 || !read_all(argv[1], &guide)) {
        std::fputs("usage: dialog_guide GUIDE (an existing, readable file)\n", stderr);
        return 1;
    }
    const std::string written = dialog_reference_in_guide(guide);
    if (written != guide && !write_all(argv[1], written)) {
        std::fprintf(stderr, "dialog_guide: %s could not be written\n", argv[1]);
        return 1;
    }
    return 0;
}
