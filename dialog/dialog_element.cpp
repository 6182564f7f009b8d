#include "dialog/dialog_element.h"

#include "dialog/dialog_text.h"
#include "dialog/layout_internal.h"
#include "toolkit/controls/canvas.h"

#include <algorithm>
#include <new>

namespace {

template <typename Record>
void destroy_record(DialogElement* element)
{
    delete static_cast<Record*>(element);
}

bool add_nothing(DialogElement*, DialogElement*)
{
    return true;
}

DialogElement* no_child(const DialogElement*, int)
{
    return nullptr;
}

void finish_nothing(DialogElement*)
{
}

bool box_add(DialogElement* element, DialogElement* child)
{
    auto* box = static_cast<BoxElement*>(element);
    if (box->child_count >= BOX_CAPACITY)
        return false;
    box->children[box->child_count++] = child;
    return true;
}

DialogElement* box_child(const DialogElement* element, int index)
{
    auto* box = static_cast<const BoxElement*>(element);
    return index >= 0 && index < box->child_count ? box->children[index] : nullptr;
}

// A single-child element keeps its last child; an earlier one is no longer laid out.
bool container_add(DialogElement* element, DialogElement* child)
{
    static_cast<ContainerElement*>(element)->child = child;
    return true;
}

DialogElement* container_child(const DialogElement* element, int index)
{
    return index == 0 ? static_cast<const ContainerElement*>(element)->child : nullptr;
}

bool splitter_add(DialogElement* element, DialogElement* child)
{
    auto* splitter = static_cast<SplitterElement*>(element);
    if (splitter->child_count >= SPLITTER_CHILDREN)
        return false;
    splitter->children[splitter->child_count++] = child;
    return true;
}

DialogElement* splitter_child(const DialogElement* element, int index)
{
    auto* splitter = static_cast<const SplitterElement*>(element);
    return index >= 0 && index < splitter->child_count ? splitter->children[index] : nullptr;
}

bool cell_is_free(const GridCell& cell)
{
    return !cell.element && !cell.covered;
}

bool grid_cell_is_free(const GridboxElement* grid, int index)
{
    return index >= static_cast<int>(grid->cells.size()) || cell_is_free(grid->cells[index]);
}

// The child takes the next free cell, row by row; its spans are cut at the last column
// and the last row, and the cells they cover are marked.
bool grid_add(DialogElement* element, DialogElement* child)
{
    auto* grid = static_cast<GridboxElement*>(element);
    const int cell_count = grid->columns * GRID_MAX_ROWS;
    while (grid->next_cell < cell_count && !grid_cell_is_free(grid, grid->next_cell))
        ++grid->next_cell;
    if (grid->next_cell >= cell_count)
        return false;
    int row = grid->next_cell / grid->columns;
    int column = grid->next_cell % grid->columns;
    int colspan = std::min(std::max(child->colspan, 1), grid->columns - column);
    int rowspan = std::min(std::max(child->rowspan, 1), GRID_MAX_ROWS - row);
    std::size_t needed = static_cast<std::size_t>(row + rowspan) * grid->columns;
    if (grid->cells.size() < needed)
        grid->cells.resize(needed);
    for (int j = row; j < row + rowspan; ++j) {
        for (int i = column; i < column + colspan; ++i) {
            GridCell& covered = grid->cells[j * grid->columns + i];
            covered.element = child;
            covered.covered = true;
        }
    }
    GridCell& cell = grid->cells[grid->next_cell];
    cell.covered = false;
    cell.colspan = colspan;
    cell.rowspan = rowspan;
    ++grid->next_cell;
    return true;
}

DialogElement* grid_child(const DialogElement* element, int index)
{
    auto* grid = static_cast<const GridboxElement*>(element);
    for (const GridCell& cell : grid->cells)
        if (cell.element && !cell.covered && index-- == 0)
            return cell.element;
    return nullptr;
}

// The rows end at the first row whose cells are all free.
void grid_finish(DialogElement* element)
{
    auto* grid = static_cast<GridboxElement*>(element);
    int rows = 0;
    while (rows < GRID_MAX_ROWS) {
        bool empty = true;
        for (int i = 0; i < grid->columns; ++i)
            empty = empty && grid_cell_is_free(grid, rows * grid->columns + i);
        if (empty)
            break;
        ++rows;
    }
    grid->rows = rows;
}

const ElementClass BOX_CLASS = {layout_common_request, layout_box_natural, layout_box_allocate, box_add,
                                box_child, finish_nothing, destroy_record<BoxElement>};
const ElementClass MULTIBOX_CLASS = {layout_common_request, layout_multibox_natural, layout_multibox_allocate,
                                     box_add, box_child, finish_nothing, destroy_record<BoxElement>};
const ElementClass PANEL_CLASS = {layout_common_request, layout_panel_natural, layout_panel_allocate, box_add,
                                  box_child, finish_nothing, destroy_record<BoxElement>};
const ElementClass GRID_CLASS = {layout_common_request, layout_grid_natural, layout_grid_allocate, grid_add,
                                 grid_child, grid_finish, destroy_record<GridboxElement>};
const ElementClass WINDOW_CLASS = {layout_common_request, layout_window_natural, layout_window_allocate,
                                   container_add, container_child, finish_nothing,
                                   destroy_record<ContainerElement>};
const ElementClass SINGLEBOX_CLASS = {layout_common_request, layout_singlebox_natural, layout_singlebox_allocate,
                                      container_add, container_child, finish_nothing,
                                      destroy_record<ContainerElement>};
const ElementClass TAB_CLASS = {layout_common_request, layout_singlebox_natural, layout_tab_allocate,
                                container_add, container_child, finish_nothing, destroy_record<ContainerElement>};
const ElementClass CONTAINER_CLASS = {layout_common_request, layout_container_natural, layout_container_allocate,
                                      container_add, container_child, finish_nothing,
                                      destroy_record<ContainerElement>};
const ElementClass FRAME_CLASS = {layout_common_request, layout_frame_natural, layout_frame_allocate,
                                  container_add, container_child, finish_nothing, destroy_record<ContainerElement>};
const ElementClass SCROLLAREA_CLASS = {layout_common_request, layout_scrollarea_natural,
                                       layout_scrollarea_allocate, container_add, container_child, finish_nothing,
                                       destroy_record<ContainerElement>};
const ElementClass CANVAS_CLASS = {layout_common_request, layout_canvas_natural, layout_canvas_allocate,
                                   container_add, container_child, finish_nothing,
                                   destroy_record<ContainerElement>};
const ElementClass SPLITTER_CLASS = {layout_common_request, layout_splitter_natural, layout_place_control,
                                     splitter_add, splitter_child, finish_nothing, destroy_record<SplitterElement>};
const ElementClass EMPTY_CLASS = {layout_common_request, layout_attribute_size, layout_allocate_nothing,
                                  add_nothing, no_child, finish_nothing, destroy_record<ControlElement>};
const ElementClass FIXED_CONTROL_CLASS = {layout_common_request, layout_attribute_size, layout_place_control,
                                          add_nothing, no_child, finish_nothing, destroy_record<ControlElement>};
const ElementClass NATURAL_CONTROL_CLASS = {layout_natural_request, layout_attribute_size, layout_natural_allocate,
                                            add_nothing, no_child, finish_nothing, destroy_record<ControlElement>};
const ElementClass LISTVIEW_CLASS = {layout_listview_request, layout_attribute_size, layout_place_control,
                                     add_nothing, no_child, finish_nothing, destroy_record<ControlElement>};

const ElementClass* container_class(ElementRole role)
{
    switch (role) {
    case ElementRole::Window: return &WINDOW_CLASS;
    case ElementRole::Singlebox: return &SINGLEBOX_CLASS;
    case ElementRole::Tab: return &TAB_CLASS;
    case ElementRole::Container: return &CONTAINER_CLASS;
    case ElementRole::Frame: return &FRAME_CLASS;
    case ElementRole::Scrollarea: return &SCROLLAREA_CLASS;
    default: return &CANVAS_CLASS;
    }
}

DialogElement* new_record(const ElementInfo* info, std::uint32_t flags)
{
    switch (info->role) {
    case ElementRole::Box:
    case ElementRole::Multibox:
    case ElementRole::Panel: {
        auto* box = new (std::nothrow) BoxElement;
        if (box)
            box->cls = info->role == ElementRole::Box        ? &BOX_CLASS
                       : info->role == ElementRole::Multibox ? &MULTIBOX_CLASS
                                                             : &PANEL_CLASS;
        return box;
    }
    case ElementRole::Grid: {
        auto* grid = new (std::nothrow) GridboxElement;
        if (grid)
            grid->cls = &GRID_CLASS;
        return grid;
    }
    case ElementRole::Splitter: {
        auto* splitter = new (std::nothrow) SplitterElement;
        if (splitter)
            splitter->cls = &SPLITTER_CLASS;
        return splitter;
    }
    case ElementRole::Canvas:
        if (!(flags & GK_Canvas_Container))
            break;
        [[fallthrough]];
    case ElementRole::Window:
    case ElementRole::Singlebox:
    case ElementRole::Tab:
    case ElementRole::Container:
    case ElementRole::Frame:
    case ElementRole::Scrollarea: {
        auto* container = new (std::nothrow) ContainerElement;
        if (container)
            container->cls = container_class(info->role);
        return container;
    }
    default:
        break;
    }
    auto* control = new (std::nothrow) ControlElement;
    if (control)
        control->cls = info->role == ElementRole::Empty          ? &EMPTY_CLASS
                       : info->role == ElementRole::FixedControl ? &FIXED_CONTROL_CLASS
                       : info->role == ElementRole::Listview     ? &LISTVIEW_CLASS
                                                                 : &NATURAL_CONTROL_CLASS;
    return control;
}

}

void ElementDeleter::operator()(DialogElement* element) const
{
    element->cls->destroy(element);
}

DialogElement* dialog_element_new(DialogTree* tree, const ElementInfo* info, std::uint32_t flags)
{
    DialogElement* element = new_record(info, flags);
    if (!element)
        return nullptr;
    element->info = info;
    element->kind = info->kind;
    element->flags = flags;
    tree->elements.emplace_back(element);
    return element;
}

DialogElement* dialog_element_child(const DialogElement* element, int index)
{
    return element->cls->child_at(element, index);
}

DialogElement* dialog_element_find(DialogElement* root, std::u16string_view name)
{
    if (root->has_name && text_equal_ascii(root->name, name))
        return root;
    for (int i = 0; DialogElement* child = dialog_element_child(root, i); ++i)
        if (DialogElement* found = dialog_element_find(child, name))
            return found;
    return nullptr;
}

bool dialog_element_is_container(const DialogElement* element)
{
    return element->cls->add_child == container_add;
}
