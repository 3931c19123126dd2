#pragma once
// GPU state of the whole program: the two shader programs, the unit quad of the gamma
// pass, the offscreen frame (drawn in linear light) and the projection of window pixels.
// Quads reach the GPU through the draw list (draw_list.h).
#include "core/string_view.h"
#include "core/types.h"
#include "render/draw.h"
#include "render/draw_list.h"
#include "render/font.h"
#include "render/frame_damage.h"
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
    // Frames on change: the gamma-corrected picture, kept so that a frame redraws only
    // what changed and the window is refreshed by a copy. 0 until the first such frame.
    u32 display_buffer;
    u32 display_texture;
};

// Frames on change: which frames the GPU draws, and when the next one is wanted.
struct FramePacing {
    // Set by the shell: begin_frame does no GPU work; end_frame compares the quads with the
    // last drawn frame's (frame_damage.h), leaves out a frame that changes nothing, and
    // otherwise redraws only the part that changed. Off (tests, tools): every frame is
    // drawn whole as soon as it is made.
    bool skip_unchanged;
    bool gpu_started;        // this frame's target is bound and cleared
    bool handed_over_early;  // quads reached the GPU before end_frame (a full list)
    u64 resource_generation; // counts texture uploads, so a new picture under an old handle counts
    // Seconds from this frame's start until the next frame is wanted (frame_request);
    // negative: nothing asked.
    f64 wanted_in;
    i64 drawn, left_out;     // frames since start-up
    // The parts of the window this frame changed; none when it changed nothing or when
    // nothing is known but the whole.
    Damage changed;
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
    FramePacing frames;
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
// them. With frames.skip_unchanged the GPU work waits until the first quads are handed
// over or end_frame decides to draw.
void begin_frame();
// Submits the draw list, then copies the offscreen frame to the window through the
// gamma pass. With frames.skip_unchanged and without `draw_anyway`, a frame equal to
// the last drawn one is dropped instead; returns whether the frame was drawn (and so
// must be presented).
bool end_frame(bool draw_anyway = false);
// Shows the frame end_frame drew: only the part that changed unless `whole` (the window
// was exposed, resized or is shown for the first time).
void frame_present(bool whole);
// Something on screen changes by itself (blinking, fading, easing, a timer): the next
// frame is wanted at most `seconds` after the start of this one (0: as soon as the pace
// allows). The earliest request of a frame counts.
void frame_request(f64 seconds);
// Called by the draw list before it hands quads over: the frame is drawn after all.
void frame_about_to_draw();
// Destroys everything gpu_setup and frame_buffer_resize made.
void gpu_release();
