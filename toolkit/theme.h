// Visual styles, looked up at run time so that the program also runs where the theme
// library is missing. Every function does nothing (or reports failure) without it.
// Windows only.
#pragma once

#include <windows.h>

// True when the program is themed and the common controls are version 6 or later;
// decided on the first call.
bool theme_visual_styles_on();

// The theme data of a class list for the window, null when there is none.
void* theme_open(HWND window, const wchar_t* class_list);
void theme_close(void* theme);

// The content rectangle of a part drawn in `bounds`; 0 on failure.
int theme_content_rect(void* theme, HDC context, int part, int state, const RECT* bounds, RECT* content);
int theme_draw_background(void* theme, HDC context, int part, int state, const RECT* bounds, const RECT* clip);
bool theme_partly_transparent(void* theme, int part, int state);
// Asks the parent to draw its background into the child's context; 0 on failure.
int theme_draw_parent_background(HWND child, HDC context, const RECT* area);
