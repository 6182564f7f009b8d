// List icons (kind 43): a report-mode list of rows with columns. A row is added as one text
// whose cells are separated by LIST_CELL_SEPARATOR (a line feed), and read back the same
// way; the columns have titles and widths of their own. The state is the selected row, or
// -1. Item states are the sum of LISTICON_SELECTED, LISTICON_CHECKED and
// LISTICON_INBETWEEN; with GK_ListIcon_ThreeState a click on a row's check box goes
// unchecked, checked, in between and back. Real input raises EVENT_GADGET: left click 0,
// right click 1, left double click 2, right double click 3, a changed selection or check
// box EVENTTYPE_CHANGE, dragging a row EVENTTYPE_DRAG_START. The image given to
// control_add_item or control_set_item_image shows beside the row's first cell, a value that
// names no image shows none (see item_images_win.h).
#pragma once

#include "core/object.h"

#include <cstdint>
#include <string>

constexpr int CONTROL_KIND_LISTICON = 43;

constexpr std::uint32_t GK_ListIcon_CheckBoxes = 0x1;
constexpr std::uint32_t GK_ListIcon_MultiSelect = 0x4;
constexpr std::uint32_t GK_ListIcon_AlwaysShowSelection = 0x8;
constexpr std::uint32_t GK_ListIcon_ThreeState = 0x40;
constexpr std::uint32_t GK_ListIcon_GridLines = 0x10000;
constexpr std::uint32_t GK_ListIcon_HeaderDragDrop = 0x10000000;
constexpr std::uint32_t GK_ListIcon_FullRowSelect = 0x40000000;

constexpr int LISTICON_SELECTED = 1;
constexpr int LISTICON_CHECKED = 2;
constexpr int LISTICON_INBETWEEN = 4;

// The first column gets the title and width. Returns the number for GK_ANY, else the
// platform handle; 0 on failure.
ObjectNumber listicon_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* title,
                             int first_width, std::uint32_t flags);

// Columns: position -1 appends. Each returns 0 for a control that is no list icon or a
// column that does not exist.
int listicon_add_column(ObjectNumber control, int position, const char16_t* title, int width);
int listicon_remove_column(ObjectNumber control, int column);
int listicon_count_columns(ObjectNumber control);
std::u16string listicon_column_title(ObjectNumber control, int column);
int listicon_set_column_title(ObjectNumber control, int column, const char16_t* title);
int listicon_column_width(ObjectNumber control, int column);
int listicon_set_column_width(ObjectNumber control, int column, int width);

// One cell of a row; "" and 0 outside the rows and columns.
std::u16string listicon_cell_text(ObjectNumber control, int row, int column);
int listicon_set_cell_text(ObjectNumber control, int row, int column, const char16_t* text);
