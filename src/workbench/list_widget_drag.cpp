// Where dragged rows would land, and moving them there.
#include "core/core_state.h"
#include "workbench/list_widget.h"
#include "workbench/list_widget_walk.h"
#include "workbench/workbench_state.h"

DropPlace list_drop_place(const ListWidget* w, const RowHit& hit) {
    if (hit.found) {
        const RowPlace& place = hit.place;
        const TreeNode& row = w->rows[place.index];
        bool lower_half = core.mouse_y < place.top - place.height * 0.5f;
        if (!lower_half) return DropPlace{place.index, place.top};
        // After a closed group means after its end row, outside it.
        i64 after = row.is_group_start && !row.is_open ? list_group_end(w, place.index) + 1 : place.index + 1;
        return DropPlace{after, place.top - place.height};
    }
    // Below the last shown row: after everything.
    RowWalk walk = row_walk_start(w);
    RowPlace place;
    while (row_walk_next_visible(&walk, &place)) {
    }
    if (core.mouse_y < walk.top) return DropPlace{w->rows.count, walk.top};
    return DropPlace{-1, 0};
}

namespace {
// Rows in the new order are assembled here; the storage is kept for the next move.

// The rows that move, in order: every selected row, and with a selected group start
// everything up to its matching end row. A selected end row on its own stays, so that
// groups keep their pairs.
void collect_moved_rows(ListWidget* w) {
    const Array<TreeNode>& rows = w->rows;
    i64 count = 0;
    for (i64 pass = 0; pass < 2; pass++) {
        for (i64 i = 0; i < rows.count;) {
            if (!rows[i].is_selected || rows[i].is_group_end) {
                i++;
                continue;
            }
            i64 end = rows[i].is_group_start ? list_group_end(w, i) : i;
            for (i64 j = i; j <= end; j++) {
                if (pass == 0) count++;
                else array_append(&w->moved_rows, (i32)j);
            }
            i = end + 1;
        }
        if (pass == 0) {
            // Too large a move for this frame's scratch: nothing moves.
            if (count == 0 || count * 4 > pool_available(pool_frame) / 2) return;
            w->moved_rows = Array<i32>{nullptr, 0, 0, pool_frame};
            array_reserve(&w->moved_rows, count);
        }
    }
}
}  // namespace

void list_move_selected(ListWidget* w, i64 index) {
    if (index < 0 || index > w->rows.count) return;
    w->moved_rows.count = 0;
    collect_moved_rows(w);
    const Array<i32>& moved = w->moved_rows;
    i64 n = w->rows.count;
    if (moved.count == 0) return;
    Array<TreeNode>& reordered = workbench.reordered_rows;
    reordered.pool = pool_main;
    if (reordered.capacity < n && n * (i64)sizeof(TreeNode) * 2 > pool_available(pool_main)) return;
    reordered.count = 0;
    array_reserve(&reordered, n);

    // Unmoved rows before the drop place, the moved rows in order, then the rest.
    i64 next_moved = 0;
    for (i64 i = 0; i < index; i++) {
        if (next_moved < moved.count && moved[next_moved] == i) next_moved++;
        else reordered.data[reordered.count++] = w->rows[i];
    }
    for (i32 m : moved) reordered.data[reordered.count++] = w->rows[m];
    for (i64 i = index; i < n; i++) {
        if (next_moved < moved.count && moved[next_moved] == i) next_moved++;
        else reordered.data[reordered.count++] = w->rows[i];
    }
    memcpy((void*)w->rows.data, reordered.data, (size_t)n * sizeof(TreeNode));
    w->rows_changed = 1;
}
