// DialogPreview's --watch: notices when the definition file changes on disk (its time of
// last writing or its size), so that the preview opens the window again from it.
#pragma once

#include <cstdint>
#include <string>

// How often the preview looks at the file, in milliseconds.
constexpr int PREVIEW_WATCH_INTERVAL = 250;

struct PreviewWatch {
    std::wstring path;
    std::uint64_t written = 0;
    std::uint64_t size = 0;
};

// Remembers the file as it is now.
void preview_watch_start(PreviewWatch* watch, const wchar_t* path);

// True once when the file differs from what was last seen (a file that cannot be read
// counts as unchanged, so that a save in progress is looked at again later).
bool preview_watch_changed(PreviewWatch* watch);

// Moves the window's outer frame to where the other one was (the same place on screen).
void preview_watch_place_like(void* window, void* previous);
