// Layout of the gridbox: column widths and row heights grow to hold their cells, cells
// that span several columns or rows widen them further, and the free space is shared
// out by the column and row expand modes.
#include "dialog/layout_internal.h"

#include <algorithm>
#include <array>

namespace {

// One direction of the grid: the column widths or the row heights.
struct GridLine {
    int* sizes;
    int count;
    int spacing;
    int expand;
    int item;
};

GridLine grid_columns(GridboxElement* grid)
{
    return {grid->column_widths.data(), grid->columns, grid->column_spacing, grid->column_expand, grid->column_item};
}

GridLine grid_rows(GridboxElement* grid)
{
    return {grid->row_heights.data(), grid->rows, grid->row_spacing, grid->row_expand, grid->row_item};
}

// Widens the lines [first, first + span) so that a spanning cell of that size fits.
void fit_span(const GridLine& line, int first, int span, int size)
{
    span = std::min(span, line.count - first);
    if (span <= 1)
        return;
    std::int64_t spanned = std::int64_t{span - 1} * line.spacing;
    for (int i = first; i < first + span; ++i)
        spanned += line.sizes[i];
    if (spanned >= size)
        return;
    std::int64_t missing = size - spanned;
    if (line.expand == EXPAND_EQUAL) {
        std::int64_t each = (size - std::int64_t{span - 1} * line.spacing) / span;
        for (int i = first; i < first + span; ++i)
            line.sizes[i] = layout_clamp(std::max<std::int64_t>(line.sizes[i], each));
    } else if (line.expand == EXPAND_YES) {
        for (int i = first; i < first + span; ++i)
            line.sizes[i] = layout_clamp(line.sizes[i] + missing / span);
    } else if (line.expand == EXPAND_ITEM && line.item >= first && line.item < first + span) {
        line.sizes[line.item] = layout_clamp(line.sizes[line.item] + missing);
    } else {
        line.sizes[first + span - 1] = layout_clamp(line.sizes[first + span - 1] + missing);
    }
}

std::int64_t line_total(const GridLine& line)
{
    std::int64_t total = std::int64_t{line.count - 1} * line.spacing;
    for (int i = 0; i < line.count; ++i)
        total += line.sizes[i];
    return total;
}

// The size of each line for the allocated length.
void share_out(const GridLine& line, std::int64_t length, std::int64_t total, std::int64_t* sizes)
{
    for (int i = 0; i < line.count; ++i) {
        if (line.expand == EXPAND_EQUAL)
            sizes[i] = (length - std::int64_t{line.count - 1} * line.spacing) / line.count;
        else if (length > 0 && length < total)
            sizes[i] = std::int64_t{line.sizes[i]} * length / total;
        else if (line.expand == EXPAND_YES)
            sizes[i] = line.sizes[i] + (length - total) / line.count;
        else if (line.expand == EXPAND_ITEM && i == line.item)
            sizes[i] = line.sizes[i] + (length - total);
        else
            sizes[i] = line.sizes[i];
    }
}

// The cell at (row, column) when it holds a child, else null.
GridCell* held_cell(GridboxElement* grid, int row, int column)
{
    std::size_t index = static_cast<std::size_t>(row) * grid->columns + column;
    if (index >= grid->cells.size())
        return nullptr;
    GridCell& cell = grid->cells[index];
    return cell.element && !cell.covered ? &cell : nullptr;
}

}

void layout_grid_natural(DialogElement* element, const LayoutHost* host, int* width, int* height)
{
    auto* grid = static_cast<GridboxElement*>(element);
    std::int64_t w = 0;
    std::int64_t h = 0;
    if (grid->rows > 0) {
        GridLine columns = grid_columns(grid);
        GridLine rows = grid_rows(grid);
        // Cells of single span set their column's width and their row's height.
        for (int row = 0; row < grid->rows; ++row) {
            for (int column = 0; column < grid->columns; ++column) {
                GridCell* cell = held_cell(grid, row, column);
                if (!cell)
                    continue;
                layout_request_size(cell->element, host, &cell->requested_width, &cell->requested_height);
                if (cell->colspan == 1)
                    grid->column_widths[column] = std::max(grid->column_widths[column], cell->requested_width);
                if (cell->rowspan == 1)
                    grid->row_heights[row] = std::max(grid->row_heights[row], cell->requested_height);
            }
        }
        // Spanning cells widen the lines they span, using the request made above.
        for (int row = 0; row < grid->rows; ++row) {
            for (int column = 0; column < grid->columns; ++column) {
                const GridCell* cell = held_cell(grid, row, column);
                if (!cell)
                    continue;
                fit_span(columns, column, cell->colspan, cell->requested_width);
                fit_span(rows, row, cell->rowspan, cell->requested_height);
            }
        }
        w = line_total(columns);
        h = line_total(rows);
        grid->total_width = layout_clamp(w);
        grid->total_height = layout_clamp(h);
    }
    layout_raise_to_attributes(grid, &w, &h);
    *width = layout_clamp(w);
    *height = layout_clamp(h);
}

void layout_grid_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height)
{
    auto* grid = static_cast<GridboxElement*>(element);
    if (grid->rows <= 0)
        return;
    std::array<std::int64_t, GRID_MAX_COLUMNS> widths{};
    std::array<std::int64_t, GRID_MAX_ROWS> heights{};
    share_out(grid_columns(grid), width, grid->total_width, widths.data());
    share_out(grid_rows(grid), height, grid->total_height, heights.data());
    std::int64_t top = y;
    for (int row = 0; row < grid->rows; ++row) {
        std::int64_t left = x;
        for (int column = 0; column < grid->columns; ++column) {
            if (const GridCell* cell = held_cell(grid, row, column)) {
                int last_column = std::min(column + cell->colspan, grid->columns);
                int last_row = std::min(row + cell->rowspan, grid->rows);
                std::int64_t cell_width = std::int64_t{last_column - column - 1} * grid->column_spacing;
                for (int i = column; i < last_column; ++i)
                    cell_width += widths[i];
                std::int64_t cell_height = std::int64_t{last_row - row - 1} * grid->row_spacing;
                for (int j = row; j < last_row; ++j)
                    cell_height += heights[j];
                layout_allocate(cell->element, host, layout_clamp(left), layout_clamp(top), layout_clamp(cell_width),
                                layout_clamp(cell_height));
            }
            left += widths[column] + grid->column_spacing;
        }
        top += heights[row] + grid->row_spacing;
    }
}
