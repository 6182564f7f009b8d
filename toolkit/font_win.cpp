#include "toolkit/font.h"

#include "images/draw.h"
#include "toolkit/control_internal.h"
#include "toolkit/scale.h"

#include <windows.h>

namespace {

struct FontRecord {
    HFONT handle;
};

struct FontState {
    ObjectTable* table;
    int dots_per_inch;
};

FontState* g_fonts = nullptr;

int display_dots_per_inch()
{
    HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    if (!display)
        return 96;
    int dots = GetDeviceCaps(display, LOGPIXELSY);
    DeleteDC(display);
    return dots > 0 ? dots : 96;
}

FontRecord* font_record(ObjectNumber font)
{
    return g_fonts ? static_cast<FontRecord*>(object_get(g_fonts->table, font)) : nullptr;
}

void free_one(ObjectNumber font)
{
    FontRecord* record = font_record(font);
    if (!record)
        return;
    scale_font_forget(record->handle);
    DeleteObject(record->handle);
    object_free(g_fonts->table, font);
}

}  // namespace

void font_share_with_drawing()
{
    static const DrawFonts fonts = {font_handle, control_default_font};
    draw_set_fonts(&fonts);
}

int font_start()
{
    font_share_with_drawing();
    if (g_fonts)
        return 1;
    auto* state = static_cast<FontState*>(state_block_new(sizeof(FontState), nullptr));
    if (!state)
        return 0;
    state->table = object_table_new(sizeof(FontRecord), 16, free_one);
    if (!state->table)
        return 0;
    state->dots_per_inch = display_dots_per_inch();
    g_fonts = state;
    return 1;
}

void font_end()
{
    font_free(GK_ANY);
}

ObjectNumber font_load(ObjectNumber number, const char16_t* face_name, int point_size, int flags)
{
    if (!g_fonts || !face_name || !face_name[0] || point_size < 1)
        return 0;
    auto* record = static_cast<FontRecord*>(object_new(g_fonts->table, number));
    if (!record)
        return 0;
    HFONT handle = CreateFontW(font_height_for_points(point_size, g_fonts->dots_per_inch), 0, 0, 0,
                               (flags & FONT_BOLD) ? FW_BOLD : FW_NORMAL, (flags & FONT_ITALIC) != 0,
                               (flags & FONT_UNDERLINE) != 0, (flags & FONT_STRIKEOUT) != 0, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               (flags & FONT_HIGH_QUALITY) ? PROOF_QUALITY : DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, reinterpret_cast<const wchar_t*>(face_name));
    if (!handle) {
        object_free(g_fonts->table, object_number_for(number, record));
        return 0;
    }
    record->handle = handle;
    return number == GK_ANY ? object_number_for(number, record) : reinterpret_cast<ObjectNumber>(handle);
}

void* font_handle(ObjectNumber font)
{
    FontRecord* record = font_record(font);
    return record ? record->handle : nullptr;
}

int font_free(ObjectNumber font)
{
    if (!g_fonts)
        return 0;
    if (font == GK_ANY) {
        object_free_all(g_fonts->table);
        return 1;
    }
    if (!font_record(font))
        return 0;
    free_one(font);
    return 1;
}
