#include "app/frame_input.h"

#include "core/frame_globals.h"
#include "memory/arena.h"
#include "platform/platform.h"
#include "render/renderer.h"

void frame_input_begin() {
    pool_reset(pool_frame);
    input_poll();
    i32 x = 0, y = 0;
    input_mouse_position(&x, &y);
    mouse_x = x;
    mouse_y = renderer.height - y;
}
