#pragma once
// The renderer's numeric GPU codes and their OpenGL values. Each function returns 0 for
// a code it does not know (0 is no valid value in any of these roles except where noted)
// and writes one line to standard output.
//
//   component / pixel types: component 0..6 byte, unsigned byte, short, unsigned short,
//     int, unsigned int, float (6 is what the quad uses); pixel type 0 unsigned byte,
//     6 float.
//   buffer target 0 vertex data, 1 indices; usage 0 static, 1 dynamic, 2 stream.
//   texture target 1: 2D (frame_buffer_texture also takes 0 for 2D).
//   internal format 13 RGBA8, 29 RGBA16F; format 8 RGBA.
//   wrap axis 0 s, 1 t; wrap mode 0 repeat, 1 mirrored repeat, 2 clamp to edge.
//   filter parameter 3 minify, 4 magnify; filter value 0 nearest, 1 linear.
//   frame buffer target 0 both, 1 read, 2 draw; attachment 3 + i and draw buffer i:
//     colour i (0..7).
//   blend factor 0 zero, 1 one, 2 source colour, 3 source alpha, 4 destination colour,
//     5 destination alpha, and 6 + each of 2..5 its "one minus" form (9: 1 - source alpha).
//   clear mask bits 1 depth, 2 stencil, 4 colour.
//   draw modes 0..6: points, lines, line loop, line strip, triangles, triangle strip, fan.
#include <epoxy/gl.h>

#include "core/types.h"

GLenum gl_component_type(u32 code);
GLenum gl_pixel_type(u32 code);
GLenum gl_buffer_target(u32 code);
GLenum gl_buffer_usage(u32 code);
GLenum gl_texture_target(u32 code);
GLenum gl_internal_format(u32 code);
GLenum gl_pixel_format(u32 code);
GLenum gl_wrap_axis(u32 code);
GLint gl_wrap_mode(u32 code);
GLenum gl_frame_buffer_target(u32 code);
GLenum gl_colour_attachment(u32 attachment_code);
GLenum gl_draw_buffer(u32 code);
GLenum gl_blend_factor(u32 code);  // GL_ZERO is a valid answer here: unknown codes give GL_ONE
GLbitfield gl_clear_mask(u32 mask);
GLenum gl_draw_mode(u32 code);     // GL_POINTS is 0: unknown codes give GL_TRIANGLES
// Frame buffer status: 0 complete, 1..8 the incomplete states, 9 anything else.
i32 frame_buffer_status_code(GLenum status);
