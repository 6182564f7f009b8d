#include "definition_generator.h"

#include <algorithm>
#include <vector>

namespace {

const char16_t* const TAGS[] = {
    u"hbox", u"vbox", u"gridbox", u"multibox", u"singlebox", u"empty", u"button", u"checkbox", u"image",
    u"option", u"listview", u"listicon", u"tree", u"container", u"combobox", u"text", u"string", u"panel",
    u"tab", u"scrollarea", u"frame", u"editor", u"scintilla", u"scrollbar", u"progressbar", u"explorerlist",
    u"explorertree", u"explorercombo", u"splitter", u"shortcut", u"buttonimage", u"trackbar", u"canvas",
    u"calendar", u"date", u"spin", u"web", u"hyperlink", u"ipaddress", u"label", u"window", u"HBOX",
};

const char16_t* const ATTRIBUTES[] = {
    u"id", u"name", u"text", u"width", u"height", u"folded", u"flags", u"margin", u"expand", u"align",
    u"spacing", u"columns", u"colspan", u"rowspan", u"colspacing", u"rowspacing", u"colexpand", u"rowexpand",
    u"minwidth", u"minheight", u"maxwidth", u"maxheight", u"innerwidth", u"innerheight", u"scrolling", u"step",
    u"firstmin", u"secondmin", u"group", u"min", u"max", u"value", u"page", u"color", u"expandwidth",
    u"expandheight", u"disabled", u"invisible",
};

// Values every attribute takes without a message...
const char16_t* const VALUES[] = {
    u"", u"-1", u"0", u"1", u"2", u"3", u"15", u"70", u"auto", u"request", u"yes", u"no", u"equal",
    u"item:1", u"ITEM:3", u"item:-5", u"item:99999999999", u"2147483647", u"-2147483648", u"2147483648",
    u"99999999999999999999", u"-99999999999999999999", u"#GK_Any", u"TOP:5 LEFT:-9999999 VERTICAL:2147483647",
    u"center bottom right", u"vertical", u"horizontal", u"e1", u"16777216", u"-16777217",
};
// ...and values that fail for some elements or attributes.
const char16_t* const RISKY_VALUES[] = {
    u"16", u"#Missing", u"#GK_Text_Right", u"#GK_Container_Flat|#GK_Splitter_Vertical", u"#GK_Canvas_Container",
    u"#GK_Splitter_Separator|", u"#Flag", u"handler",
};

template <typename T, std::size_t N>
const T& pick(std::mt19937& random, const T (&items)[N])
{
    return items[std::uniform_int_distribution<std::size_t>(0, N - 1)(random)];
}

// A panel's children are tabs; elsewhere a tab is rare (and then fails).
void random_element(std::mt19937& random, std::u16string* text, int depth, bool in_panel)
{
    std::u16string tag = in_panel || chance(random, 300) == 0 ? u"tab" : pick(random, TAGS);
    *text += u"<" + tag;
    if (chance(random, 30) == 0)
        *text += chance(random, 2) ? u" onevent='handler'" : u" onchange='handler'";
    std::vector<std::u16string> used;
    for (int i = chance(random, 5); i > 0; --i) {
        std::u16string attribute = pick(random, ATTRIBUTES);
        if (std::find(used.begin(), used.end(), attribute) != used.end())
            continue;  // a repeated attribute is not well-formed
        used.push_back(attribute);
        *text += u" " + attribute + u"='" +
                 (chance(random, 20) ? pick(random, VALUES) : pick(random, RISKY_VALUES)) + u"'";
    }
    *text += u">";
    int children = depth > 4 ? 0 : chance(random, 5);
    if (chance(random, 40) == 0)
        children = 120;
    for (int i = 0; i < children; ++i) {
        if (children > 10)
            *text += u"<empty width='5'/>";
        else
            random_element(random, text, depth + 1, tag == u"panel");
    }
    *text += u"</" + tag + u">";
}

}  // namespace

std::u16string random_definition(std::mt19937& random)
{
    std::u16string text = u"<dialogs><window name='w' minwidth='auto' maxheight='7'>";
    for (int i = chance(random, 3); i >= 0; --i)
        random_element(random, &text, 1, false);
    return text + u"</window></dialogs>";
}

// Cuts, duplicates and overwrites pieces of a definition.
std::u16string mutate(std::mt19937& random, std::u16string text)
{
    static const char16_t* const pieces[] = {u"<", u">", u"/", u"'", u"<vbox>", u"</hbox>", u"#", u"|",
                                             u"\t", u" width='-1'", u"<panel>", u"<tab>", u"<gridbox columns='1'>"};
    for (int i = 1 + chance(random, 4); i > 0; --i) {
        std::size_t at = std::uniform_int_distribution<std::size_t>(0, text.size())(random);
        switch (chance(random, 4)) {
        case 0: text.erase(at, 1 + chance(random, 20)); break;
        case 1: text.insert(at, text.substr(at, chance(random, 200))); break;
        case 2: text.insert(at, pick(random, pieces)); break;
        default:
            if (at < text.size())
                text[at] = static_cast<char16_t>(chance(random, 128) + 1);
        }
    }
    return text;
}


int chance(std::mt19937& random, int sides)
{
    return std::uniform_int_distribution<int>(0, sides - 1)(random);
}
