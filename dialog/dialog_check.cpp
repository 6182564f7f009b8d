#include "dialog/dialog_check.h"

#include "dialog/dialog_attributes.h"
#include "dialog/dialog_reader.h"
#include "dialog/dialog_text.h"
#include "dialog/dialog_values.h"
#include "toolkit/controls/canvas.h"
#include "xml/xml.h"

#include <algorithm>

namespace {

struct NameUse {
    std::u16string folded;
    std::int32_t line;
    bool control;
};

struct Checker {
    const RuntimeRegistry* registry = nullptr;
    std::vector<DialogCheckProblem>* problems = nullptr;
    std::vector<NameUse> names;  // of the window being checked
};

std::u16string_view view_of(const char16_t* text)
{
    return text ? std::u16string_view(text) : std::u16string_view();
}

std::u16string quoted(std::u16string_view text)
{
    return u"'" + std::u16string(text) + u"'";
}

std::u16string number_text(std::int64_t number)
{
    const std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

void add(Checker* checker, const XmlNode* node, bool error, std::u16string text)
{
    checker->problems->push_back({xml_node_line(node), xml_node_column(node), error, std::move(text)});
}

// Appends "; did you mean 'x'?" when a known name is near.
std::u16string with_suggestion(std::u16string text, std::u16string_view name, const std::vector<const char16_t*>& known)
{
    if (const char16_t* nearest = dialog_check_nearest(name, known))
        text += u"; did you mean " + quoted(nearest) + u"?";
    return text;
}

bool is_blank(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// Blanks, an optional sign, digits and blanks: what the number rule reads whole.
bool is_plain_integer(std::u16string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && is_blank(text[i]))
        ++i;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    const std::size_t digits = i;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    if (i == digits)
        return false;
    while (i < text.size() && is_blank(text[i]))
        ++i;
    return i == text.size();
}

bool is_number(const Checker* checker, const AttributeInfo* row, std::u16string_view value)
{
    switch (row->value) {
    case AttributeValue::Id:
        return (!value.empty() && value[0] == u'#') || runtime_exists(checker->registry, value) ||
               is_plain_integer(value);
    case AttributeValue::Number: return runtime_exists(checker->registry, value) || is_plain_integer(value);
    case AttributeValue::Integer: return is_plain_integer(value);
    case AttributeValue::IntegerOrAuto: return text_equal_ascii(value, u"auto") || is_plain_integer(value);
    case AttributeValue::SplitterMinimum:
        return text_equal_ascii(value, u"auto") || text_equal_ascii(value, u"request") || is_plain_integer(value);
    default: return true;
    }
}

std::vector<const char16_t*> element_names()
{
    std::vector<const char16_t*> names;
    for (const ElementInfo& element : dialog_elements())
        names.push_back(element.name);
    return names;
}

// The names an element reads first, so that a near miss suggests one of them.
std::vector<const char16_t*> attribute_names(const ElementInfo* info, const ElementInfo* parent, bool container,
                                             bool reading)
{
    std::vector<const char16_t*> names;
    for (const AttributeInfo& row : dialog_attributes())
        if (dialog_attribute_applies(&row, info, parent, container) == reading)
            names.push_back(row.name);
    for (const EventAttribute& event : dialog_event_attributes())
        if (info->reads_events == reading)
            names.push_back(event.name);
    return names;
}

struct ElementPlace {
    const XmlNode* node;
    const ElementInfo* info;
    const ElementInfo* parent;
    bool container;  // a canvas holding a child
    bool grouped;    // an option with a group, whose events are never read
};

void check_attribute(Checker* checker, const ElementPlace& at, std::u16string_view name, std::u16string_view value)
{
    const std::u16string tag = quoted(view_of(xml_node_name(at.node)));
    if (dialog_event_attribute(name)) {
        if (!at.info->reads_events || at.grouped)
            add(checker, at.node, false, quoted(name) + u" is ignored on " + tag);
        return;
    }
    if (const AttributeInfo* row = dialog_attribute_for(name, at.info, at.parent, at.container)) {
        if (!is_number(checker, row, value))
            add(checker, at.node, false,
                quoted(name) + u" is not a number: " + quoted(value) + u" counts as " +
                    number_text(dialog_leading_int(value)));
        return;
    }
    if (dialog_attribute_known(name)) {
        add(checker, at.node, false, quoted(name) + u" is ignored on " + tag);
        return;
    }
    std::vector<const char16_t*> near = attribute_names(at.info, at.parent, at.container, true);
    if (!dialog_check_nearest(name, near))
        near = attribute_names(at.info, at.parent, at.container, false);
    add(checker, at.node, false, with_suggestion(u"unknown attribute " + quoted(name), name, near));
}

// A second use of a name hides the later element from lookups when either made a control.
void check_name(Checker* checker, const XmlNode* node, const ElementInfo* info)
{
    const char16_t* name = xml_node_attribute(node, u"name");
    if (!name)
        return;
    std::u16string folded(name);
    for (char16_t& c : folded)
        c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    for (const NameUse& use : checker->names) {
        if (use.folded == folded && (use.control || info->creates_control)) {
            add(checker, node, false,
                u"name " + quoted(name) + u" is already used at line " + number_text(use.line) +
                    u" in this window; lookups find only the first");
            return;
        }
    }
    checker->names.push_back({std::move(folded), xml_node_line(node), info->creates_control});
}

bool holds_canvas_child(const Checker* checker, const XmlNode* node, const ElementInfo* info)
{
    if (info->kind != ELEMENT_CANVAS)
        return false;
    std::uint32_t flags = 0;
    DialogMessage ignored;
    dialog_read_flags(view_of(xml_node_attribute(node, u"flags")), info, u"", checker->registry, &flags, &ignored);
    return (flags & GK_Canvas_Container) != 0;
}

void check_children(Checker* checker, const XmlNode* node, const ElementInfo* info, int depth);

void check_element(Checker* checker, const XmlNode* node, const ElementInfo* info, const ElementInfo* parent,
                   int depth)
{
    const char16_t* group = xml_node_attribute(node, u"group");
    ElementPlace at{node, info, parent, holds_canvas_child(checker, node, info),
                    info->kind == ELEMENT_OPTION && group && dialog_number(group, checker->registry) != -1};
    for (std::int32_t i = 0; i < xml_node_attribute_count(node); ++i)
        check_attribute(checker, at, view_of(xml_node_attribute_name(node, i)),
                        view_of(xml_node_attribute_value(node, i)));
    check_name(checker, node, info);
    if (depth <= DIALOG_MAX_DEPTH)
        check_children(checker, node, info, depth + 1);
}

void check_children(Checker* checker, const XmlNode* node, const ElementInfo* info, int depth)
{
    for (const XmlNode* child = xml_node_first_child(node); child; child = xml_node_next_sibling(child)) {
        if (xml_node_kind(child) != XML_KIND_ELEMENT)
            continue;
        std::u16string_view name = view_of(xml_node_name(child));
        if (const ElementInfo* child_info = dialog_element_info(name)) {
            if (child_info->kind != ELEMENT_WINDOW)
                check_element(checker, child, child_info, info, depth);
            continue;
        }
        add(checker, child, false,
            with_suggestion(u"unknown element " + quoted(name) + u" is skipped with everything in it", name,
                            element_names()));
    }
}

// The engine's messages for the window, every one, then the warnings.
void check_window(Checker* checker, const XmlNode* window)
{
    std::vector<DialogProblem> every;
    DialogMessage message;
    message.every = &every;
    DialogTree tree;
    dialog_read_window(window, checker->registry, &tree, &message);
    for (const DialogProblem& problem : every)
        checker->problems->push_back({problem.line, problem.column, true, dialog_message_wide(problem.text)});
    checker->names.clear();
    check_element(checker, window, dialog_element_info(u"window"), nullptr, 1);
}

// Elements of a `dialogs` root other than windows are never read.
void check_root(Checker* checker, const XmlNode* root)
{
    std::u16string_view name = view_of(xml_node_name(root));
    const std::vector<const char16_t*> roots = {u"dialogs", u"window"};
    if (!text_equal_ascii(name, u"dialogs") && !text_equal_ascii(name, u"window")) {
        add(checker, root, false, with_suggestion(u"unknown root element " + quoted(name), name, roots));
        return;
    }
    if (!text_equal_ascii(name, u"dialogs"))
        return;
    for (const XmlNode* child = xml_node_first_child(root); child; child = xml_node_next_sibling(child)) {
        std::u16string_view child_name = view_of(xml_node_name(child));
        if (xml_node_kind(child) == XML_KIND_ELEMENT && !text_equal_ascii(child_name, u"window"))
            add(checker, child, false,
                with_suggestion(u"element " + quoted(child_name) + u" of 'dialogs' is never read", child_name,
                                {u"window"}));
    }
}

std::size_t edit_distance(std::u16string_view a, std::u16string_view b)
{
    auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; };
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (fold(a[i - 1]) == fold(b[j - 1]) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

const char16_t* dialog_check_nearest(std::u16string_view name, const std::vector<const char16_t*>& names)
{
    // Names longer than any of the language's are no near misses; this also bounds the work.
    constexpr std::size_t LONGEST = 64;
    if (name.empty() || name.size() > LONGEST)
        return nullptr;
    const std::size_t allowed = std::max<std::size_t>(2, name.size() / 3);
    const char16_t* best = nullptr;
    std::size_t best_distance = allowed + 1;
    for (const char16_t* candidate : names) {
        const std::size_t distance = edit_distance(name, candidate);
        if (distance < best_distance && distance < name.size()) {
            best = candidate;
            best_distance = distance;
        }
    }
    return best;
}

std::vector<const XmlNode*> dialog_check_windows(const XmlNode* root)
{
    std::vector<const XmlNode*> windows;
    std::u16string_view name = view_of(xml_node_name(root));
    if (root && text_equal_ascii(name, u"window"))
        windows.push_back(root);
    if (!root || !text_equal_ascii(name, u"dialogs"))
        return windows;
    for (const XmlNode* child = xml_node_first_child(root); child; child = xml_node_next_sibling(child))
        if (xml_node_kind(child) == XML_KIND_ELEMENT && text_equal_ascii(view_of(xml_node_name(child)), u"window"))
            windows.push_back(child);
    return windows;
}

std::vector<DialogCheckProblem> dialog_check_document(ObjectNumber document, const RuntimeRegistry* registry)
{
    std::vector<DialogCheckProblem> problems;
    DialogMessage message;
    DialogTree tree;
    const std::vector<const XmlNode*> windows = dialog_check_windows(xml_root(document));
    if (xml_error_code(document) != 0 || windows.empty()) {
        dialog_read_document(document, nullptr, registry, &tree, &message);
        problems.push_back({message.line, message.column, true, dialog_message_wide(message.text)});
    }
    if (xml_error_code(document) != 0)
        return problems;
    Checker checker;
    checker.registry = registry;
    checker.problems = &problems;
    if (const XmlNode* root = xml_root(document))
        check_root(&checker, root);
    for (const XmlNode* window : windows)
        check_window(&checker, window);
    std::stable_sort(problems.begin(), problems.end(), [](const DialogCheckProblem& a, const DialogCheckProblem& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    return problems;
}
