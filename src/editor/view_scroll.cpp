// Scrolling of the editor view: easing, the wheel and zoom, the scrollbar thumb, and
// following the caret.
#include "core/core_state.h"
#include "editor/motion.h"
#include "editor/view.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "render/renderer.h"

namespace {

const f32 wheel_step = 96;
const f32 zoom_in = 1.125f;
const f32 zoom_out = 0.8888889f;
// Zoom stays where the text can still be read and rows keep a sane height.
const f32 zoom_min = 0.1f;
const f32 zoom_max = 16.0f;

bool finite(f64 v) { return v == v && v < 1e30 && v > -1e30; }

// The farthest the wheel scrolls down: the final empty row just in view.
f64 wheel_limit(const Document* doc, const ViewFrame* f) {
    f64 limit = f->content_height + f->h - doc->height;
    return limit > 0 ? limit : 0;
}

// Scroll range that the thumb maps onto, and the room the thumb moves in.
f64 scroll_range(const Document* doc, const ViewFrame* f) { return f->content_height - doc->height; }
f64 thumb_room(const Document* doc, const ViewFrame* f) { return doc->height - f->thumb_height; }

f32 clamp_thumb_offset(const Document* doc, const ViewFrame* f, f64 offset) {
    f64 room = thumb_room(doc, f);
    if (!(offset < 0)) return 0;
    if (offset < -room) return (f32)-room;
    return (f32)offset;
}

f32 thumb_bottom(const Document* doc, const ViewFrame* f) {
    return doc->y + doc->height - f->thumb_height + doc->thumb_offset;
}

}  // namespace

void view_ease_scroll(Document* doc) {
    if (!finite(doc->target_scroll_x)) doc->target_scroll_x = 0;
    if (!finite(doc->target_scroll_y)) doc->target_scroll_y = 0;
    if (!doc->smooth_scroll) {
        doc->scroll_x = doc->target_scroll_x;
        doc->scroll_y = doc->target_scroll_y;
        return;
    }
    f32 k = 20 * core.frame_time;
    if (!(k > 0)) k = 0;
    if (k > 1) k = 1;
    doc->scroll_x += (doc->target_scroll_x - doc->scroll_x) * k;
    doc->scroll_y += (doc->target_scroll_y - doc->scroll_y) * k;
    if (!finite(doc->scroll_x)) doc->scroll_x = doc->target_scroll_x;
    if (!finite(doc->scroll_y)) doc->scroll_y = doc->target_scroll_y;
    // The ease ends exactly on its target, so that frames stop once the text is still.
    if (math_abs(doc->target_scroll_x - doc->scroll_x) < 0.25) doc->scroll_x = doc->target_scroll_x;
    if (math_abs(doc->target_scroll_y - doc->scroll_y) < 0.25) doc->scroll_y = doc->target_scroll_y;
    if (doc->scroll_x != doc->target_scroll_x || doc->scroll_y != doc->target_scroll_y) frame_request(0);
}

void view_wheel(Document* doc, const ViewFrame* f) {
    i32 wheel = input_mouse_wheel();
    if (wheel == 0) return;
    if (input_key_is_held(key_ctrl)) {
        // Scaling the scroll with the text keeps the line at the top edge in place.
        f32 factor = wheel > 0 ? zoom_in : zoom_out;
        f32 zoom = doc->zoom * factor;
        if (zoom < zoom_min || zoom > zoom_max) return;
        doc->zoom = zoom;
        doc->scroll_y *= factor;
        doc->target_scroll_y *= factor;
        return;
    }
    if (input_key_is_held(key_shift)) {
        // Sideways, as far as the widest row on screen reaches.
        f64 widest = 0;
        for (i64 row = f->first_row; row <= f->last_row && row < line_count(doc); row++) {
            i64 end = row_start(doc, row) + line_length(doc, row);
            f64 x = line_offset(doc, (i32)end);
            if (x > widest) widest = x;
        }
        f64 room = doc->width - doc->scrollbar_width - 16 - f->gutter - 16;
        f64 x = doc->target_scroll_x + (f64)wheel * wheel_step;
        if (x < room - widest) x = room - widest;
        if (x > 0) x = 0;
        doc->target_scroll_x = (f32)x;
        return;
    }
    f64 target = doc->target_scroll_y - (f64)wheel * wheel_step;
    if (wheel < 0) {
        f64 limit = wheel_limit(doc, f);
        if (limit < doc->target_scroll_y) limit = doc->target_scroll_y;  // already past: stay
        if (target > limit) target = limit;
    }
    if (target < 0) target = 0;
    doc->target_scroll_y = (f32)target;
}

void view_scrollbar_input(Document* doc, ViewFrame* f) {
    f->content_height = (f64)f->h * (f64)(line_count(doc) - 1);
    f->bar_shown = false;
    f->over_thumb = false;
    f->thumb_height = 0;
    if (!doc->single_line && f->content_height > 0 && doc->height > 0) {
        f64 thumb = (f64)doc->height * doc->height / f->content_height;
        if (thumb < doc->min_thumb) thumb = doc->min_thumb;
        f->thumb_height = (f32)thumb;
        f->bar_shown = thumb <= doc->height;
    }
    if (!f->bar_shown) {
        doc->thumb_dragging = 0;
        return;
    }
    f64 range = scroll_range(doc, f);
    f64 offset = range > 0 ? -((f64)doc->scroll_y / range) * thumb_room(doc, f) : 0;
    doc->thumb_offset = clamp_thumb_offset(doc, f, offset);

    f32 left = doc->x + doc->width - doc->scrollbar_width, right = doc->x + doc->width;
    f32 bottom = thumb_bottom(doc, f);
    f->over_thumb = core.mouse_x >= left && core.mouse_x < right && core.mouse_y >= bottom && core.mouse_y < bottom + f->thumb_height;
    if (doc->focused && f->over_thumb && input_mouse_is_pressed(mouse_primary)) {
        doc->thumb_dragging = 1;
        doc->grab_mouse_y = (f32)core.mouse_y;
        doc->grab_thumb_offset = doc->thumb_offset;
    }
    bool in_track = core.mouse_x >= left && core.mouse_x < right && core.mouse_y >= doc->y && core.mouse_y < doc->y + doc->height;
    doc->track_pressed = 0;
    if (doc->focused && in_track && !f->over_thumb && input_mouse_is_pressed(mouse_primary)) {
        // A click in the track pages towards it (y grows upwards: above the thumb is back).
        f64 page = doc->height - f->h;
        f64 target = doc->target_scroll_y + (core.mouse_y > bottom ? -page : page);
        if (target > range) target = range;
        if (target < 0) target = 0;
        doc->target_scroll_y = (f32)target;
        doc->track_pressed = 1;
    }
    if (input_mouse_is_released(mouse_primary)) doc->thumb_dragging = 0;
}

void view_follow_thumb(Document* doc, ViewFrame* f) {
    if (!doc->thumb_dragging || !f->bar_shown) return;
    doc->thumb_offset = clamp_thumb_offset(doc, f, core.mouse_y - doc->grab_mouse_y + doc->grab_thumb_offset);
    f64 room = thumb_room(doc, f);
    f64 scroll = room > 0 ? -(f64)doc->thumb_offset * scroll_range(doc, f) / room : 0;
    if (scroll < 0) scroll = 0;
    doc->scroll_y = doc->target_scroll_y = (f32)scroll;
}

void view_scroll_to_caret(Document* doc, ViewFrame* f) {
    f32 h = f->h;
    // The caret where the scroll is heading, not where the easing has got to: a target
    // set in this frame (a search or a jump centres the caret before the key handling
    // asks for the caret to be shown) or still being eased towards must not receive the
    // same distance twice.
    f32 caret_x = doc->caret_x + (doc->target_scroll_x - doc->scroll_x);
    f32 caret_y = doc->caret_y + (doc->target_scroll_y - doc->scroll_y);
    if (!doc->single_line) {
        f32 top = doc->y + doc->height - h / 2, bottom = doc->y + h / 2;
        if (caret_y > top) doc->target_scroll_y += top - caret_y;
        else if (caret_y < bottom) doc->target_scroll_y += bottom - caret_y;
        if (doc->target_scroll_y < 0) doc->target_scroll_y = 0;
    }
    f32 right = doc->x + doc->width - doc->scrollbar_width - 16;
    f32 left = doc->x + 16 + f->gutter;
    if (caret_x > right) doc->target_scroll_x += right - caret_x;
    else if (caret_x < left) doc->target_scroll_x += left - caret_x;
    bool fits = doc->caret_x - doc->scroll_x <= right;
    if (fits || doc->target_scroll_x > 0) doc->target_scroll_x = 0;
    // Without easing the jump shows in this very frame.
    if (!doc->smooth_scroll) {
        doc->scroll_x = doc->target_scroll_x;
        doc->scroll_y = doc->target_scroll_y;
    }
    view_layout(doc, f);
}
