#pragma once
// Counts of the SDL/OpenGL back-end for measurements, for the last presented frame: the
// draws the renderer asked for (each quad of a run counts as one), the GL draw calls
// that carried them out, and every GL call the back-end made. TESMORA_GL_STATS=1 prints
// the same at each present.
#include "core/types.h"

struct GpuFrameStats {
    i64 draws;
    i64 gl_draw_calls;
    i64 gl_calls;
};

GpuFrameStats gpu_frame_stats();
