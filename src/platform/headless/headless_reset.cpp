// Back to the start state between tests.
#include "platform/headless/headless_internal.h"

void headless_reset() {
    headless_input_reset();
    headless_window_reset();
    headless_draws_reset();
    headless_gpu_objects_reset();
    headless_shaders_reset();
    headless_clipboard_reset();
    headless_messages_reset();
    headless_clock_reset();
}
