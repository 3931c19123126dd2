// CPU time of frames that draw a given number of glyphs through the real renderer in a
// real window (run under Xvfb for Mesa's llvmpipe). Prints the mean CPU and wall time per
// frame, without the start-up, the draws of a frame against the GL draw calls that
// carried them out, and the GL calls of a frame (TESMORA_ONE_QUAD_RUNS=1 draws every
// quad of a run by itself, for comparison).
// The process CPU time counts llvmpipe's rasterising threads too; the main thread's CPU
// time is given beside it, whole and for the part that lays out the text and hands the
// quads over (begin_frame to end_frame, the program's own work plus the GL calls).
//   glyph_frame [GLYPHS] [FRAMES]     (defaults 6000 and 200)
#include <time.h>

#include <cstdio>
#include <cstdlib>

#include "core/core_state.h"
#include "memory/arena.h"
#include "platform/platform.h"
#include "platform/sdl_gl/gpu_stats.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"

static double clock_seconds(clockid_t clock) {
    timespec t;
    clock_gettime(clock, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}
static double cpu_seconds() { return clock_seconds(CLOCK_PROCESS_CPUTIME_ID); }
static double thread_seconds() { return clock_seconds(CLOCK_THREAD_CPUTIME_ID); }

int main(int argc, char** argv) {
    int glyphs = argc > 1 ? atoi(argv[1]) : 6000;
    int frames = argc > 2 ? atoi(argv[2]) : 200;
    system_init(13);
    display_open(1024, 768, SV("glyph frame"), 0x40, 1);  // no vertical sync
    arenas_reserve();
    theme_set_defaults();
    void* buffer = malloc((size_t)64 << 20);
    image_set_buffer((i64)64 << 20, buffer);
    image_set_flip(true);
    gpu_setup();
    resources_load();
    // A block of printable text, 100 glyphs a line.
    char* text = (char*)pool_alloc(pool_main, glyphs + glyphs / 100 + 1);
    i64 n = 0;
    for (int i = 0; i < glyphs; i++) {
        text[n++] = (char)('!' + (i * 7) % 90);
        if (i % 100 == 99) text[n++] = '\n';
    }
    double cpu = 0, wall = 0, main_thread = 0, build = 0;
    i64 drawn = 0, gl_calls = 0;
    for (int f = 0; f < frames + 10; f++) {
        input_poll();
        double c0 = cpu_seconds(), t0 = thread_seconds();
        u64 w0 = system_performance_counter();
        begin_frame();
        core.glyph_count = 0;
        draw_text(&render.font, Color{1, 1, 1, 1}, StringView{text, n}, 4, 760, 1, 1, 0, 4);
        double t1 = thread_seconds();
        end_frame();
        pipeline_present();
        if (f >= 10) {  // the first frames compile shaders
            cpu += cpu_seconds() - c0;
            main_thread += thread_seconds() - t0;
            build += t1 - t0;
            wall += (double)(system_performance_counter() - w0) / (double)system_performance_frequency();
            drawn = core.glyph_count;
            gl_calls += gpu_frame_stats().gl_calls;
        }
    }
    printf("glyphs per frame %lld, frames %d: cpu %.3f ms/frame, wall %.3f ms/frame\n", (long long)drawn, frames,
           cpu * 1000 / frames, wall * 1000 / frames);
    printf("main thread cpu %.3f ms/frame, of which begin_frame to end_frame %.3f ms/frame\n",
           main_thread * 1000 / frames, build * 1000 / frames);
    GpuFrameStats stats = gpu_frame_stats();
    printf("draws per frame %lld, gl draw calls per frame %lld\n", (long long)stats.draws,
           (long long)stats.gl_draw_calls);
    printf("gl calls per frame %.1f\n", (double)gl_calls / frames);
    resources_destroy();
    gpu_release();
    display_close();
    system_release();
    return 0;
}
