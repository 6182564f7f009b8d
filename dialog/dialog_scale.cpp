#include "dialog/dialog_scale.h"

#include "dialog/layout.h"
#include "toolkit/scale.h"

#include <algorithm>
#include <cstdint>

namespace {

// Values below 0 are marks ("auto", "not given", "follow"), not sizes.
int scaled(int value, int dpi)
{
    return value > 0 ? scale_pixels(value, dpi) : value;
}

std::int16_t scaled_bound(int value, int dpi)
{
    return static_cast<std::int16_t>(std::min(scaled(value, dpi), 32767));
}

bool is_box(const DialogElement* element)
{
    return element->kind == ELEMENT_HBOX || element->kind == ELEMENT_VBOX || element->kind == ELEMENT_MULTIBOX ||
           element->kind == ELEMENT_PANEL;
}

void capture_container(DesignValues* values, const ContainerElement* container)
{
    values->margins[0] = container->margin_top;
    values->margins[1] = container->margin_bottom;
    values->margins[2] = container->margin_left;
    values->margins[3] = container->margin_right;
    values->expand_limits[0] = container->expand_width;
    values->expand_limits[1] = container->expand_height;
    values->inner[0] = container->inner_width;
    values->inner[1] = container->inner_height;
    values->step = container->step;
    values->bounds[0] = container->min_width;
    values->bounds[1] = container->min_height;
    values->bounds[2] = container->max_width;
    values->bounds[3] = container->max_height;
}

void apply_container(const DesignValues& values, ContainerElement* container, int dpi)
{
    container->margin_top = scaled(values.margins[0], dpi);
    container->margin_bottom = scaled(values.margins[1], dpi);
    container->margin_left = scaled(values.margins[2], dpi);
    container->margin_right = scaled(values.margins[3], dpi);
    container->expand_width = scaled(values.expand_limits[0], dpi);
    container->expand_height = scaled(values.expand_limits[1], dpi);
    container->inner_width = scaled(values.inner[0], dpi);
    container->inner_height = scaled(values.inner[1], dpi);
    container->step = scaled(values.step, dpi);
    container->min_width = scaled_bound(values.bounds[0], dpi);
    container->min_height = scaled_bound(values.bounds[1], dpi);
    container->max_width = scaled_bound(values.bounds[2], dpi);
    container->max_height = scaled_bound(values.bounds[3], dpi);
}

DesignValues capture(DialogElement* element)
{
    DesignValues values;
    values.element = element;
    values.width = element->width;
    values.height = element->height;
    if (is_box(element)) {
        values.spacing[0] = static_cast<const BoxElement*>(element)->spacing;
    } else if (element->kind == ELEMENT_GRIDBOX) {
        const auto* grid = static_cast<const GridboxElement*>(element);
        values.spacing[0] = grid->column_spacing;
        values.spacing[1] = grid->row_spacing;
    } else if (element->kind == ELEMENT_SPLITTER) {
        const auto* splitter = static_cast<const SplitterElement*>(element);
        values.minimums[0] = splitter->first_minimum;
        values.minimums[1] = splitter->second_minimum;
    } else if (dialog_element_is_container(element)) {
        capture_container(&values, static_cast<const ContainerElement*>(element));
    }
    return values;
}

void apply(const DesignValues& values, int dpi, bool changed)
{
    DialogElement* element = values.element;
    element->width = scaled(values.width, dpi);
    element->height = scaled(values.height, dpi);
    if (is_box(element)) {
        static_cast<BoxElement*>(element)->spacing = scaled(values.spacing[0], dpi);
    } else if (element->kind == ELEMENT_GRIDBOX) {
        auto* grid = static_cast<GridboxElement*>(element);
        grid->column_spacing = scaled(values.spacing[0], dpi);
        grid->row_spacing = scaled(values.spacing[1], dpi);
        if (changed) {
            grid->column_widths.fill(0);
            grid->row_heights.fill(0);
        }
    } else if (element->kind == ELEMENT_SPLITTER) {
        auto* splitter = static_cast<SplitterElement*>(element);
        splitter->first_minimum = scaled(values.minimums[0], dpi);
        splitter->second_minimum = scaled(values.minimums[1], dpi);
    } else if (dialog_element_is_container(element)) {
        apply_container(values, static_cast<ContainerElement*>(element), dpi);
    }
}

}  // namespace

void dialog_scale_capture(DialogScale* scale, const DialogTree& tree)
{
    scale->dpi = SCALE_BASE_DPI;
    scale->design.clear();
    scale->design.reserve(tree.elements.size());
    for (const ElementPtr& element : tree.elements)
        scale->design.push_back(capture(element.get()));
}

void dialog_scale_apply(DialogScale* scale, int dpi)
{
    bool changed = dpi != scale->dpi;
    for (const DesignValues& values : scale->design)
        apply(values, dpi, changed);
    scale->dpi = dpi;
}

void dialog_scale_measures(LayoutHost* host, int dpi)
{
    host->text_nudge = scale_pixels(LAYOUT_TEXT_NUDGE, dpi);
    host->frame_inset = scale_pixels(LAYOUT_FRAME_INSET, dpi);
    host->frame_min_caption = scale_pixels(LAYOUT_FRAME_MIN_CAPTION, dpi);
    host->scrollbar_room = scale_pixels(LAYOUT_SCROLLBAR_SIZE, dpi);
    host->flat_border = scale_pixels(LAYOUT_FLAT_BORDER, dpi);
    host->splitter_bar = scale_pixels(LAYOUT_SPLITTER_BAR, dpi);
    host->splitter_separator_bar = scale_pixels(LAYOUT_SPLITTER_SEPARATOR_BAR, dpi);
}
