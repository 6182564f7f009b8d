#include "dialog_fixture.h"

#include "xml/xml.h"

#include <gtest/gtest.h>

namespace {

FakeHost* fake(void* context)
{
    return static_cast<FakeHost*>(context);
}

void fake_required_size(void* context, const DialogElement* element, int* width, int* height)
{
    auto found = fake(context)->natural.find(element->name);
    if (found == fake(context)->natural.end())
        return;
    *width = found->second.width;
    *height = found->second.height;
}

void fake_place(void* context, const DialogElement* element, int x, int y, int width, int height)
{
    fake(context)->placements[element->name] = {x, y, width, height};
    fake(context)->placed.push_back(element->name);
}

int fake_item_height(void* context, const DialogElement*)
{
    return fake(context)->item_height;
}

int fake_caption_height(void* context, const DialogElement*)
{
    return fake(context)->caption_height;
}

// A panel's page is its placed size less the frame and the tab strip.
int fake_get_attribute(void* context, const DialogElement* element, int attribute)
{
    FakeHost* host = fake(context);
    if (attribute == LAYOUT_PANEL_TAB_HEIGHT)
        return host->tab_strip_height;
    const Placement& panel = host->placements[element->name];
    return attribute == LAYOUT_PANEL_PAGE_WIDTH ? panel.width - 4 : panel.height - host->tab_strip_height - 2;
}

void fake_set_attribute(void* context, const DialogElement* element, int attribute, int value)
{
    fake(context)->set_attributes[{element->name, attribute}] = value;
}

void fake_set_window_bounds(void* context, const DialogElement*, int min_width, int min_height, int max_width,
                            int max_height)
{
    WindowBounds& bounds = fake(context)->bounds;
    bounds = {min_width, min_height, max_width, max_height, bounds.calls + 1};
}

struct XmlSession {
    XmlSession() { xml_start(); }
};

}

LayoutHost FakeHost::host()
{
    LayoutHost host;
    host.context = this;
    host.required_size = fake_required_size;
    host.place = fake_place;
    host.item_height = fake_item_height;
    host.caption_height = fake_caption_height;
    host.get_attribute = fake_get_attribute;
    host.set_attribute = fake_set_attribute;
    host.set_window_bounds = fake_set_window_bounds;
    return host;
}

DialogElement* make_element(DialogTree* tree, const char16_t* tag, const char16_t* name, std::uint32_t flags)
{
    DialogElement* element = dialog_element_new(tree, dialog_element_info(tag), flags);
    if (name) {
        element->has_name = true;
        element->name = name;
    }
    return element;
}

BoxElement* make_box(DialogTree* tree, const char16_t* tag, const char16_t* name)
{
    return static_cast<BoxElement*>(make_element(tree, tag, name));
}

ContainerElement* make_container(DialogTree* tree, const char16_t* tag, const char16_t* name)
{
    return static_cast<ContainerElement*>(make_element(tree, tag, name));
}

void add_children(DialogElement* parent, std::initializer_list<DialogElement*> children)
{
    for (DialogElement* child : children) {
        child->parent = parent;
        EXPECT_TRUE(parent->cls->add_child(parent, child));
    }
    parent->cls->finish_children(parent);
}

bool read_definition(const char16_t* text, const char16_t* window_name, DialogTree* tree, DialogMessage* message,
                     const RuntimeRegistry* registry)
{
    static XmlSession session;
    ObjectNumber document = xml_parse_string(GK_ANY, text);
    bool read = dialog_read_document(document, window_name, registry, tree, message);
    xml_free(document);
    return read;
}

std::string read_failure(const std::u16string& text, const RuntimeRegistry* registry)
{
    DialogTree tree;
    DialogMessage message;
    if (read_definition(text.c_str(), nullptr, &tree, &message, registry))
        return "";
    EXPECT_TRUE(tree.elements.empty());
    return message.text;
}

std::u16string in_window(const std::u16string& inner)
{
    return u"<window name='w'>" + inner + u"</window>";
}
