// Shared pieces of the dialog tests: a layout host that answers with given natural
// sizes and records every placement, trees built by hand, and definitions read from text.
#pragma once

#include "dialog/dialog_reader.h"
#include "dialog/layout.h"

#include <map>
#include <string>
#include <vector>

struct Placement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Placement&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
};

struct WindowBounds {
    int min_width = 0;
    int min_height = 0;
    int max_width = 0;
    int max_height = 0;
    int calls = 0;
};

// Answers the layout's questions by element name; records what it is told.
struct FakeHost {
    std::map<std::u16string, Size> natural;          // required sizes; absent: 0 by 0
    std::map<std::u16string, Placement> placements;  // last placement of each named element
    std::vector<std::u16string> placed;              // names in the order placed
    std::map<std::pair<std::u16string, int>, int> set_attributes;
    WindowBounds bounds;
    int item_height = 16;
    int caption_height = 13;
    int tab_strip_height = 22;
    LayoutHost host();
};

// Elements made by hand, owned by the tree.
DialogElement* make_element(DialogTree* tree, const char16_t* tag, const char16_t* name = nullptr,
                            std::uint32_t flags = 0);
BoxElement* make_box(DialogTree* tree, const char16_t* tag, const char16_t* name = nullptr);
ContainerElement* make_container(DialogTree* tree, const char16_t* tag, const char16_t* name = nullptr);
// Adds each child to the parent, in order, and finishes the parent.
void add_children(DialogElement* parent, std::initializer_list<DialogElement*> children);

// Parses the definition and reads the named window; the message is filled on failure.
bool read_definition(const char16_t* text, const char16_t* window_name, DialogTree* tree, DialogMessage* message,
                     const RuntimeRegistry* registry = nullptr);

// The message of a definition that should fail; "" when it was read.
std::string read_failure(const std::u16string& text, const RuntimeRegistry* registry = nullptr);

// A window definition around the given inner elements.
std::u16string in_window(const std::u16string& inner);
