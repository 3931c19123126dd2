#include "app/frame_input.h"

#include "core/core_state.h"
#include "memory/arena.h"
#include "platform/platform.h"
#include "render/renderer.h"

void frame_input_begin() {
    pool_reset(pool_frame);
    input_poll();
    i32 x = 0, y = 0;
    input_mouse_position(&x, &y);
    core.mouse_x = x;
    core.mouse_y = render.gpu.height - y;
}
