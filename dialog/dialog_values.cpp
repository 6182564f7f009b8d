#include "dialog/dialog_values.h"

#include "dialog/dialog_text.h"
#include "dialog/layout.h"

#include <algorithm>
#include <limits>

std::int64_t dialog_number(std::u16string_view text, const RuntimeRegistry* registry)
{
    if (runtime_exists(registry, text))
        return std::clamp<std::int64_t>(runtime_lookup(registry, text), std::numeric_limits<std::int32_t>::min(),
                                        std::numeric_limits<std::int32_t>::max());
    return dialog_leading_int(text);
}

namespace {

bool is_blank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

}

void dialog_read_flags(std::u16string_view text, const ElementInfo* info, std::u16string_view tag,
                       const RuntimeRegistry* registry, std::uint32_t* flags, DialogMessage* message)
{
    std::size_t at = 0;
    for (;;) {
        while (at < text.size() && is_blank(text[at]))
            ++at;
        if (at >= text.size() || text[at] != u'#')
            return;
        ++at;
        std::size_t bar = text.find(u'|', at);
        std::size_t end = bar == std::u16string_view::npos ? text.size() : bar;
        std::u16string_view name = text.substr(at, end - at);
        while (!name.empty() && is_blank(name.back()))
            name.remove_suffix(1);
        if (name.size() >= DIALOG_FLAG_NAME_LIMIT)
            return;
        std::uint32_t value = 0;
        if (dialog_flag_value(info, name, &value))
            *flags |= value;
        else if (runtime_exists(registry, name))
            *flags |= static_cast<std::uint32_t>(runtime_lookup(registry, name));
        else
            dialog_message_report(message, MESSAGE_FLAG_NOT_SUPPORTED, name, tag);
        if (bar == std::u16string_view::npos)
            return;
        at = bar + 1;
    }
}

namespace {

int margin_value(std::u16string_view text)
{
    return layout_clamp(dialog_leading_int(text));
}

// The number behind a "PART:" in the text; found is false when the part is missing.
int margin_part(std::u16string_view text, std::u16string_view part, bool* found)
{
    std::size_t at = text_find_ascii(text, part);
    *found = at != std::u16string_view::npos;
    return *found ? margin_value(text.substr(at + part.size())) : 0;
}

}

void dialog_read_margin(std::u16string_view text, ContainerElement* container)
{
    if (text.find(u':') == std::u16string_view::npos) {
        int all = margin_value(text);
        container->margin_top = container->margin_bottom = container->margin_left = container->margin_right = all;
        return;
    }
    bool found = false;
    container->margin_top = margin_part(text, u"TOP:", &found);
    container->margin_bottom = margin_part(text, u"BOTTOM:", &found);
    container->margin_left = margin_part(text, u"LEFT:", &found);
    container->margin_right = margin_part(text, u"RIGHT:", &found);
    int vertical = margin_part(text, u"VERTICAL:", &found);
    if (found)
        container->margin_top = container->margin_bottom = vertical;
    int horizontal = margin_part(text, u"HORIZONTAL:", &found);
    if (found)
        container->margin_left = container->margin_right = horizontal;
}

void dialog_read_expand(std::u16string_view text, int* mode, int* item)
{
    if (text_equal_ascii(text, u"yes")) {
        *mode = EXPAND_YES;
    } else if (text_equal_ascii(text, u"no")) {
        *mode = EXPAND_NO;
    } else if (text_equal_ascii(text, u"equal")) {
        *mode = EXPAND_EQUAL;
    } else if (text_starts_with_ascii(text, u"ITEM:")) {
        *mode = EXPAND_ITEM;
        std::int32_t number = dialog_leading_int(text.substr(5));
        *item = number > 0 ? number - 1 : -1;
    }
}

void dialog_read_child_expand(std::u16string_view text, ContainerElement* container)
{
    if (text_equal_ascii(text, u"yes")) {
        container->expand_horizontal = container->expand_vertical = true;
    } else if (text_equal_ascii(text, u"no")) {
        container->expand_horizontal = container->expand_vertical = false;
    } else if (text_equal_ascii(text, u"horizontal")) {
        container->expand_horizontal = true;
        container->expand_vertical = false;
    } else if (text_equal_ascii(text, u"vertical")) {
        container->expand_horizontal = false;
        container->expand_vertical = true;
    }
}

void dialog_read_child_align(std::u16string_view text, ContainerElement* container)
{
    auto contains = [text](std::u16string_view word) { return text_find_ascii(text, word) != std::u16string_view::npos; };
    int vertical = ALIGN_UNSET;
    int horizontal = ALIGN_UNSET;
    if (contains(u"TOP"))
        vertical = ALIGN_TOP;
    if (contains(u"BOTTOM"))
        vertical = ALIGN_BOTTOM;
    if (contains(u"LEFT"))
        horizontal = ALIGN_TOP;
    if (contains(u"RIGHT"))
        horizontal = ALIGN_BOTTOM;
    int otherwise = contains(u"CENTER") ? ALIGN_MIDDLE : ALIGN_TOP;
    container->align_vertical = vertical == ALIGN_UNSET ? otherwise : vertical;
    container->align_horizontal = horizontal == ALIGN_UNSET ? otherwise : horizontal;
}

int dialog_read_box_align(std::u16string_view text)
{
    if (text_equal_ascii(text, u"center"))
        return ALIGN_CENTER;
    if (text_equal_ascii(text, u"bottom") || text_equal_ascii(text, u"right"))
        return ALIGN_END;
    return ALIGN_START;
}
