#pragma once
// The walk over a list widget's rows that every step of its frame shares: which rows
// are shown (all enclosing groups open), how deep each sits and where it lands.
#include "workbench/tree_node.h"

struct RowWalk {
    const ListWidget* w;
    i64 next;       // index of the next row
    i64 depth;      // groups begun and not yet ended
    i64 hidden_at;  // depth of the closed group that hides what follows; -1 when none
    f32 top;        // top edge of the next shown row
};

struct RowPlace {
    i64 index;
    i64 level;  // groups enclosing the row, a group's own start not counted
    f32 top, height;
};

// Starts at the first row with its top at the panel's top edge moved by the scroll.
RowWalk row_walk_start(const ListWidget* w);
// Steps over one row; true while rows remain. `visible` tells whether it is shown; only
// shown rows take room.
bool row_walk_step(RowWalk* walk, RowPlace* place, bool* visible);
// Steps to the next shown row.
bool row_walk_next_visible(RowWalk* walk, RowPlace* place);
f32 row_height_of(const ListWidget* w, const TreeNode& row);
// Sum of the heights of the shown rows.
f32 list_content_height(const ListWidget* w);

// Geometry shared by input and drawing.
constexpr f32 list_wheel_step = 72;
constexpr f32 list_scrollbar_width = 16;
constexpr f32 list_min_thumb = 24;
constexpr f64 list_drag_threshold = 64;   // squared pixels
constexpr f64 list_double_click_reach = 500;  // squared pixels
constexpr f32 list_drop_marker_height = 6;
constexpr f32 list_name_gap = 8;

// The shown row under the mouse, if any.
struct RowHit {
    bool found;
    RowPlace place;
    bool on_group_icon;  // inside the group icon column of a group-start row
};
RowHit list_hit_test(const ListWidget* w);

// Where rows dropped now would go: an insertion index into the rows and the height of
// the marker between rows.
struct DropPlace {
    i64 index;
    f32 marker_y;
};
DropPlace list_drop_place(const ListWidget* w, const RowHit& hit);
// Moves the selected rows (groups with their contents and end rows) to `index`.
void list_move_selected(ListWidget* w, i64 index);

// Scrollbar: geometry, thumb dragging and drawing. `over` tells whether the mouse is
// above the scrollbar column (rows then ignore it).
void list_scrollbar_input(ListWidget* w, bool inside, bool* over);
void list_scrollbar_draw(const ListWidget* w, bool inside);
void list_draw_rows(const ListWidget* w, const RowHit& hit);
void list_draw_drag(const ListWidget* w, const RowHit& hit);
