#pragma once
// The tree list widget: draws rows of tree_node with groups, selection, dragging and
// scrolling. Used by the file tree and the minimap.
#include "workbench/tree_node.h"

// Sets the widget up with the standard sizes and icons (indent 16, rows 32, group ends 16,
// group icons 32, double click 0.5 s).
void list_widget_init(ListWidget* w, bool drag_enabled);
// Draws the widget in its box and applies this frame's mouse input. The caller has set
// the box and the scissor.
void list_widget_frame(ListWidget* w);
// Whether row `index` is shown (every enclosing group open).
bool list_row_visible(const ListWidget* w, i64 index);
// Index of the group-end row matching the group start at `index` (or the last row).
i64 list_group_end(const ListWidget* w, i64 index);
