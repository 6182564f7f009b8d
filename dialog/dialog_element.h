// The element tree of a dialog: one element per element of the definition, with the
// class table that lays it out. A DialogTree owns every element it made; the links
// between elements (parent, children) are plain references into it.
#pragma once

#include "dialog/dialog_language.h"
#include "core/object.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct DialogElement;
struct LayoutHost;

// The operations of one element class; the layout calls the first three.
struct ElementClass {
    // Entry of the request pass: what the element asks for.
    void (*request_size)(DialogElement* element, const LayoutHost* host, int* width, int* height);
    // The class's own request, used by the common request rule.
    void (*natural_size)(DialogElement* element, const LayoutHost* host, int* width, int* height);
    // Places the element and divides the rectangle among its children.
    void (*allocate)(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height);
    // Takes a child; false when the element has no room left for it.
    bool (*add_child)(DialogElement* element, DialogElement* child);
    // The index-th child in layout order (grid: row by row), null past the last.
    DialogElement* (*child_at)(const DialogElement* element, int index);
    // Runs once the element's children are all added.
    void (*finish_children)(DialogElement* element);
    // Frees the element's record.
    void (*destroy)(DialogElement* element);
};

// An event attribute that names a registered procedure, bound once the control exists.
struct EventBinding {
    std::int32_t type;  // event type; -1 for any
    void (*procedure)();
};

struct DialogElement {
    const ElementClass* cls = nullptr;
    const ElementInfo* info = nullptr;
    DialogElement* parent = nullptr;
    ObjectNumber control = -1;    // the control made for it; -1 while there is none
    ObjectNumber requested = -1;  // from `id`; -1 lets the table choose
    std::uint32_t flags = 0;
    std::uint8_t kind = 0;
    bool folded = false;
    bool disabled = false;
    bool invisible = false;
    int width = 0;   // the `width` attribute
    int height = 0;  // the `height` attribute
    int colspan = 1; // cell spans when the parent is a gridbox
    int rowspan = 1;
    bool has_name = false;
    bool has_text = false;
    std::int32_t line = 0;    // where its start tag is in the definition; 0 when unknown
    std::int32_t column = 0;
    std::u16string name;
    std::u16string text;
    std::vector<EventBinding> events;
    // Grouped options among the children, created after all children (in document order).
    std::vector<DialogElement*> pending_options;
};

constexpr int EXPAND_YES = 1;
constexpr int EXPAND_NO = 2;
constexpr int EXPAND_EQUAL = 3;
constexpr int EXPAND_ITEM = 4;

constexpr int ALIGN_START = 1;
constexpr int ALIGN_CENTER = 2;
constexpr int ALIGN_END = 3;

// Alignment of a single child; 0 places like top and left.
constexpr int ALIGN_UNSET = 0;
constexpr int ALIGN_TOP = 1;     // also left
constexpr int ALIGN_MIDDLE = 2;
constexpr int ALIGN_BOTTOM = 3;  // also right

constexpr int BOX_CAPACITY = 100;
constexpr int GRID_MAX_COLUMNS = 15;
constexpr int GRID_MAX_ROWS = 70;
constexpr int SPLITTER_CHILDREN = 2;

// hbox, vbox, multibox and panel.
struct BoxElement : DialogElement {
    int child_count = 0;
    std::array<DialogElement*, BOX_CAPACITY> children{};
    int spacing = 5;
    int expand = EXPAND_YES;
    int expand_item = -1;  // 0-based
    int align = ALIGN_START;
    int total = 0;         // requested length along the box (request pass)
    int hidden = 0;        // folded children (request pass)
    std::array<int, BOX_CAPACITY> lengths{};  // each child's requested length (request pass)
};

struct GridCell {
    DialogElement* element = nullptr;
    bool covered = false;   // part of an earlier cell's span
    int colspan = 1;
    int rowspan = 1;
    int requested_width = 0;   // the child's request (request pass)
    int requested_height = 0;
};

struct GridboxElement : DialogElement {
    int columns = 2;
    int rows = 0;            // counted once all children are added
    int next_cell = 0;
    // Row by row, `columns` cells a row; rows are added as children need them, up to
    // GRID_MAX_ROWS, so that a grid costs memory in proportion to its content.
    std::vector<GridCell> cells;
    int column_spacing = 5;
    int row_spacing = 5;
    int column_expand = EXPAND_YES;
    int row_expand = EXPAND_NO;
    int column_item = -1;
    int row_item = -1;
    int total_width = 0;
    int total_height = 0;
    // Never reset: a grid grows with its content but does not shrink.
    std::array<int, GRID_MAX_COLUMNS> column_widths{};
    std::array<int, GRID_MAX_ROWS> row_heights{};
};

// Window bounds as read: a number, or one of these.
constexpr int BOUND_NOT_GIVEN = -2;
constexpr int BOUND_AUTO = -1;

// Scrollarea directions.
constexpr int SCROLL_BOTH = 0;
constexpr int SCROLL_VERTICAL = 1;
constexpr int SCROLL_HORIZONTAL = 2;

// Every single-child element: window, singlebox, container, frame, tab, scrollarea and
// a canvas with GK_Canvas_Container.
struct ContainerElement : DialogElement {
    DialogElement* child = nullptr;
    int margin_top = 10;
    int margin_bottom = 10;
    int margin_left = 10;
    int margin_right = 10;
    bool expand_vertical = true;
    bool expand_horizontal = true;
    int expand_height = 0;  // 0: no limit
    int expand_width = 0;
    int align_vertical = ALIGN_UNSET;
    int align_horizontal = ALIGN_UNSET;
    int child_width = 0;    // the child's request (request pass)
    int child_height = 0;
    // Window: the window made for it, and its bounds (BOUND_*, or 0 to 32767).
    ObjectNumber window = -1;
    std::int16_t min_width = BOUND_NOT_GIVEN;
    std::int16_t min_height = BOUND_NOT_GIVEN;
    std::int16_t max_width = BOUND_NOT_GIVEN;
    std::int16_t max_height = BOUND_NOT_GIVEN;
    // Frame: caption height (request pass).
    int caption_height = 0;
    // Tab: the panel it belongs to and its index there.
    DialogElement* panel = nullptr;
    int tab_index = 0;
    // Scrollarea: inner size (-1: follow the child) and scrolling.
    int inner_width = -1;
    int inner_height = -1;
    int step = 10;
    int scrolling = SCROLL_BOTH;
};

// Splitter minimums as read: a number (0 or more), or one of these.
constexpr int SPLITTER_MIN_NOT_GIVEN = -2;
constexpr int SPLITTER_MIN_FOLLOW = -1;

struct SplitterElement : DialogElement {
    int first_minimum = SPLITTER_MIN_NOT_GIVEN;
    int second_minimum = SPLITTER_MIN_NOT_GIVEN;
    bool vertical = false;
    int child_count = 0;
    std::array<int, SPLITTER_CHILDREN> child_widths{};
    std::array<int, SPLITTER_CHILDREN> child_heights{};
    std::array<DialogElement*, SPLITTER_CHILDREN> children{};
    std::array<ObjectNumber, SPLITTER_CHILDREN> parts{-1, -1};  // the part containers made for it
};

// Controls and `empty`: the attributes of particular controls.
struct ControlElement : DialogElement {
    int group = -1;      // option
    int minimum = 0;     // scrollbar, progressbar, trackbar, spin
    int maximum = 100;
    int page = 10;       // scrollbar
    int value = 0;
    int color = 0xFF0000;  // hyperlink
};

struct ElementDeleter {
    void operator()(DialogElement* element) const;
};
using ElementPtr = std::unique_ptr<DialogElement, ElementDeleter>;

struct DialogTree {
    // Every element made, in document order (an element before its children); the
    // parent links give the nesting, also of children their parent does not lay out.
    std::vector<ElementPtr> elements;
    ContainerElement* root = nullptr;  // the window
};

// A new element of the role's class, owned by the tree; the class is picked from the
// role (a canvas by its container flag, so flags must be known). Null when memory runs out.
DialogElement* dialog_element_new(DialogTree* tree, const ElementInfo* info, std::uint32_t flags);

// Layout order of the children; null past the last.
DialogElement* dialog_element_child(const DialogElement* element, int index);

// Depth first, an element before its children: the first element whose name equals
// the given one without regard to case; null when none.
DialogElement* dialog_element_find(DialogElement* root, std::u16string_view name);

// True for elements whose record is a ContainerElement.
bool dialog_element_is_container(const DialogElement* element);
