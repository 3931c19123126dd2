// Translation of the renderer's GPU codes (listed in gl_codes.h) to OpenGL values.
#include "platform/sdl_gl/gl_codes.h"

#include <cstdio>

namespace {
// A wrong code is a programming error; a few lines are enough to find it without
// flooding the output when it happens every frame.
GLenum unknown(const char* what, u32 code) {
    static i32 reports;
    if (reports < 16) {
        reports++;
        printf("unknown GPU code %u for %s\n", code, what);
    }
    return 0;
}
}  // namespace

GLenum gl_component_type(u32 code) { return code <= 6 ? GL_BYTE + code : unknown("component type", code); }

GLenum gl_pixel_type(u32 code) {
    switch (code) {
        case 0: return GL_UNSIGNED_BYTE;
        case 6: return GL_FLOAT;
        default: return unknown("pixel type", code);
    }
}

GLenum gl_buffer_target(u32 code) {
    switch (code) {
        case 0: return GL_ARRAY_BUFFER;
        case 1: return GL_ELEMENT_ARRAY_BUFFER;
        default: return unknown("buffer target", code);
    }
}

GLenum gl_buffer_usage(u32 code) {
    switch (code) {
        case 0: return GL_STATIC_DRAW;
        case 1: return GL_DYNAMIC_DRAW;
        case 2: return GL_STREAM_DRAW;
        default: return unknown("buffer usage", code);
    }
}

GLenum gl_texture_target(u32 code) { return code == 1 ? GL_TEXTURE_2D : unknown("texture target", code); }

GLenum gl_internal_format(u32 code) {
    switch (code) {
        case 13: return GL_RGBA8;
        // The linear offscreen frame. Half floats keep every 8-bit level through the gamma
        // round trip (within 0.1 of a level) at half the memory and bandwidth of RGBA32F;
        // only a colour lying exactly between two levels may land on the other one.
        case 29: return GL_RGBA16F;
        default: return unknown("internal format", code);
    }
}

GLenum gl_pixel_format(u32 code) { return code == 8 ? GL_RGBA : unknown("pixel format", code); }

GLenum gl_wrap_axis(u32 code) {
    switch (code) {
        case 0: return GL_TEXTURE_WRAP_S;
        case 1: return GL_TEXTURE_WRAP_T;
        default: return unknown("wrap axis", code);
    }
}

GLint gl_wrap_mode(u32 code) {
    switch (code) {
        case 0: return GL_REPEAT;
        case 1: return GL_MIRRORED_REPEAT;
        case 2: return GL_CLAMP_TO_EDGE;
        default: return (GLint)unknown("wrap mode", code);
    }
}

GLenum gl_frame_buffer_target(u32 code) {
    switch (code) {
        case 0: return GL_FRAMEBUFFER;
        case 1: return GL_READ_FRAMEBUFFER;
        case 2: return GL_DRAW_FRAMEBUFFER;
        default: return unknown("frame buffer target", code);
    }
}

GLenum gl_colour_attachment(u32 code) {
    return code >= 3 && code < 11 ? GL_COLOR_ATTACHMENT0 + (code - 3) : unknown("attachment", code);
}

GLenum gl_draw_buffer(u32 code) { return code < 8 ? GL_COLOR_ATTACHMENT0 + code : unknown("draw buffer", code); }

GLenum gl_blend_factor(u32 code) {
    switch (code) {
        case 0: return GL_ZERO;
        case 1: return GL_ONE;
        case 2: return GL_SRC_COLOR;
        case 3: return GL_SRC_ALPHA;
        case 4: return GL_DST_COLOR;
        case 5: return GL_DST_ALPHA;
        case 8: return GL_ONE_MINUS_SRC_COLOR;
        case 9: return GL_ONE_MINUS_SRC_ALPHA;
        case 10: return GL_ONE_MINUS_DST_COLOR;
        case 11: return GL_ONE_MINUS_DST_ALPHA;
        default: unknown("blend factor", code); return GL_ONE;
    }
}

GLbitfield gl_clear_mask(u32 mask) {
    if (mask & ~7u) unknown("clear mask", mask);
    GLbitfield bits = 0;
    if (mask & 1) bits |= GL_DEPTH_BUFFER_BIT;
    if (mask & 2) bits |= GL_STENCIL_BUFFER_BIT;
    if (mask & 4) bits |= GL_COLOR_BUFFER_BIT;
    return bits;
}

// The codes are OpenGL's own primitive values.
GLenum gl_draw_mode(u32 code) {
    if (code <= 6) return code;
    unknown("draw mode", code);
    return GL_TRIANGLES;
}

i32 frame_buffer_status_code(GLenum status) {
    switch (status) {
        case GL_FRAMEBUFFER_COMPLETE: return 0;
        case GL_FRAMEBUFFER_UNDEFINED: return 1;
        case GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT: return 2;
        case GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT: return 3;
        case GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER: return 4;
        case GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER: return 5;
        case GL_FRAMEBUFFER_INCOMPLETE_MULTISAMPLE: return 6;
        case GL_FRAMEBUFFER_INCOMPLETE_LAYER_TARGETS: return 7;
        case GL_FRAMEBUFFER_UNSUPPORTED: return 8;
        default: return 9;
    }
}
