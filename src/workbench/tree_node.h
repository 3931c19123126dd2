#pragma once
// Rows of the file tree and of the minimap, and the list widget that shows them.
// Plain records: the analysis thread fills minimap rows, the workbench draws them.
#include "core/array.h"
#include "core/string_view.h"
#include "render/color.h"

struct TreeNode {
    Color color;  // label colour
    u32 icon;     // texture
    i32 id;       // tab id of a file, or -1 for a group; the 0-based line of a minimap row
    StringView name;
    u8 is_group_start;
    u8 is_group_end;
    u8 is_open;
    u8 is_selected;
};
static_assert(sizeof(TreeNode) == 48, "tree_node is a 48-byte record");

struct Font;

struct ListWidget {
    u8 has_focus;
    Array<TreeNode> rows;
    f32 x, y, width, height;
    f32 indent;            // 16
    f32 row_height;        // 32
    f32 group_end_height;  // 16
    f32 icon_size;         // 32
    f32 scale;             // of its text and fixed sizes (the workbench's scale)
    u32 closed_icon, open_icon;
    Font* font;
    Color selection_color;
    f32 scroll;
    f32 content_height;  // of the visible rows, from the last frame
    // Scrollbar.
    f32 track_x, thumb_height, thumb_y;
    u8 thumb_dragging;
    f32 thumb_grab_offset;
    u8 drag_enabled;
    u8 dragging, pressed;
    f64 press_x, press_y;
    f32 double_click_time;  // 0.5
    f32 click_timer;
    u8 double_clicked;
    u8 rows_changed;  // this frame a group was opened or closed, or rows were moved
    Array<i32> moved_rows;
};
