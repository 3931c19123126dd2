#pragma once
// Draw counts of the SDL/OpenGL back-end, for measurements: how many draws the renderer
// asked for in the last presented frame and how many GL draw calls carried them out.
// TESMORA_GL_STATS=1 prints the same at each present.
#include "core/types.h"

struct GpuFrameStats {
    i64 draws;
    i64 gl_draw_calls;
};

GpuFrameStats gpu_frame_stats();
