#pragma once
// GPU state of the whole program: the two shader programs, the unit quad of the gamma
// pass, the offscreen frame (drawn in linear light) and the projection of window pixels.
// Quads reach the GPU through the draw list (draw_list.h).
#include "core/string_view.h"
#include "core/types.h"
#include "render/draw.h"
#include "render/draw_list.h"
#include "render/font.h"
#include "render/resources.h"
#include "render/theme.h"

struct Renderer {
    u32 gamma_shader;
    u32 simple_shader;
    u32 quad_vertex_array;
    u32 quad_buffer;
    i32 simple_diffuse;
    i32 simple_gamma;
    i32 gamma_mvp;
    i32 gamma_diffuse;
    i32 gamma_gamma;
    Matrix combined_matrix;  // view x projection, recomputed by begin_frame
    Matrix view_matrix;
    Matrix projection_matrix;
    f64 gamma;
    i32 width;  // window size in pixels
    i32 height;
    u32 frame_buffer;  // 0 when none exists
    u32 frame_texture;
};

// The render subsystem's state: the GPU objects and projection, the theme's colours, the
// program font, the icon textures, the theme's background image (0 and a 0 x 0 size when
// there is none) and this frame's quads.
struct RenderState {
    Renderer gpu;
    Theme theme;
    Font font;
    u32 icon_textures[icon_count];
    u32 background_texture;
    i32 background_width;
    i32 background_height;
    DrawList draw_list;
};

extern RenderState render;

// Program texts, each with a "#vertex" and a "#fragment" section. The simple shader
// reads its quads as instances (QuadInstance in platform.h).
extern const StringView simple_shader_text;
extern const StringView gamma_shader_text;

// Quad, both programs, a 1024 x 768 frame buffer and its projection; an empty draw list
// that the back-end may ask for before anything reads the picture.
void gpu_setup();
// Replaces the offscreen frame buffer with one of renderer.width x renderer.height.
void frame_buffer_resize();
void projection_update();
// Offscreen target, blending, clear to the theme background, simple_shader bound. Quads
// left in the draw list by a frame that was never ended are dropped: the clear covers
// them.
void begin_frame();
// Submits the draw list, then copies the offscreen frame to the window through the
// gamma pass.
void end_frame();
// Destroys everything gpu_setup and frame_buffer_resize made.
void gpu_release();
