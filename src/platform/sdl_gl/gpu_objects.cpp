// Vertex arrays, buffers, textures and frame buffers as plain GL handles. The caller's
// vertex array and vertex-data buffer bindings reach GL only when something depends on
// them: quad runs bind their own in between, and the caller's often go unused.
#include <cstdint>
#include <cstdio>

#include "platform/platform.h"
#include "platform/sdl_gl/gl_codes.h"
#include "platform/sdl_gl/gpu_state.h"
#include "platform/sdl_gl/sdl_window.h"
#include "platform/sdl_gl/mipmaps.h"

namespace {
const i32 max_texture_side = 16384;

GLint bound_texture_min_filter() {
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    return filter;
}

// Whether the bound texture has a second level: only then may minifying use mipmaps.
bool bound_texture_has_mipmaps() {
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &width);
    return width > 0;
}
}  // namespace

// ---- Vertex arrays and buffers ------------------------------------------------------------
u32 vertex_array_create() {
    if (!gpu_state.ready) return 0;
    GLuint vertex_array = 0;
    glGenVertexArrays(1, &vertex_array);
    return vertex_array;
}

void vertex_array_bind(u32 vertex_array) {
    if (gpu_state.ready) gpu_state.vertex_array = vertex_array;
}

void gpu_sync_vertex_array() {
    if (gpu_state.gl_vertex_array == gpu_state.vertex_array) return;
    glBindVertexArray(gpu_state.vertex_array);
    gpu_state.gl_vertex_array = gpu_state.vertex_array;
    gpu_check("vertex_array_bind");
}

void vertex_array_unbind() { vertex_array_bind(0); }

void vertex_array_destroy(u32 vertex_array) {
    if (!gpu_state.ready || vertex_array == 0) return;
    glDeleteVertexArrays(1, &vertex_array);
    // GL unbinds it too
    if (gpu_state.vertex_array == vertex_array) gpu_state.vertex_array = 0;
    if (gpu_state.gl_vertex_array == vertex_array) gpu_state.gl_vertex_array = 0;
}

u32 buffer_create() {
    if (!gpu_state.ready) return 0;
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    return buffer;
}

void buffer_bind(u32 target, u32 buffer) {
    GLenum gl_target = gl_buffer_target(target);
    if (!gpu_state.ready || !gl_target) return;
    if (gl_target == GL_ARRAY_BUFFER) {
        gpu_state.array_buffer = buffer;
        return;
    }
    // The index buffer binding belongs to the bound vertex array.
    gpu_sync_vertex_array();
    glBindBuffer(gl_target, buffer);
    gpu_check("buffer_bind");
}

void gpu_sync_array_buffer() {
    if (gpu_state.gl_array_buffer == gpu_state.array_buffer) return;
    glBindBuffer(GL_ARRAY_BUFFER, gpu_state.array_buffer);
    gpu_state.gl_array_buffer = gpu_state.array_buffer;
    gpu_check("buffer_bind");
}

void buffer_data(u32 target, i64 size, const void* data, u32 usage) {
    GLenum gl_target = gl_buffer_target(target);
    if (!gpu_state.ready || !gl_target || size < 0) return;
    if (gl_target == GL_ARRAY_BUFFER) gpu_sync_array_buffer();
    else gpu_sync_vertex_array();
    glBufferData(gl_target, (GLsizeiptr)size, data, gl_buffer_usage(usage));
    gpu_check("buffer_data");
}

// GL detaches a deleted buffer from the bound vertex array only, so that must be the
// caller's.
void buffer_destroy(u32 buffer) {
    if (!gpu_state.ready || !buffer) return;
    gpu_sync_vertex_array();
    glDeleteBuffers(1, &buffer);
    if (gpu_state.array_buffer == buffer) gpu_state.array_buffer = 0;
    if (gpu_state.gl_array_buffer == buffer) gpu_state.gl_array_buffer = 0;
}

void attribute_enable(u32 index) {
    if (!gpu_state.ready || index >= 16) return;
    gpu_sync_vertex_array();
    glEnableVertexAttribArray(index);
    gpu_check("attribute_enable");
}

// The input reads from the buffer bound to target 0 now.
void attribute_format(u32 index, i32 components, u32 type, bool normalized, i32 stride, i64 offset) {
    GLenum gl_type = gl_component_type(type);
    if (!gpu_state.ready || !gl_type || index >= 16 || components < 1 || components > 4 || stride < 0 || offset < 0) {
        return;
    }
    gpu_sync_vertex_array();
    gpu_sync_array_buffer();
    glVertexAttribPointer(index, components, gl_type, normalized ? GL_TRUE : GL_FALSE, stride,
                          (const void*)(uintptr_t)offset);
    gpu_check("attribute_format");
}

// ---- Textures ------------------------------------------------------------------------------
u32 texture_create() {
    if (!gpu_state.ready) return 0;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    return texture;
}

void texture_bind(u32 target, u32 texture) {
    if (!gpu_state.ready || !gl_texture_target(target)) return;
    u32* slot = &gpu_state.textures_2d[gpu_state.active_unit];
    if (*slot == texture) return;
    glBindTexture(GL_TEXTURE_2D, texture);
    *slot = texture;
    gpu_check("texture_bind");
}

void texture_unbind(u32 target) { texture_bind(target, 0); }

void texture_unit(u32 unit) {
    if (!gpu_state.ready || unit >= gpu_texture_units || unit == gpu_state.active_unit) return;
    glActiveTexture(GL_TEXTURE0 + unit);
    gpu_state.active_unit = unit;
}

void texture_image_2d(u32 target, i32 level, u32 internal_format, i32 width, i32 height, u32 format, u32 type,
                      const void* pixels) {
    GLenum gl_internal = gl_internal_format(internal_format);
    GLenum gl_format = gl_pixel_format(format);
    GLenum gl_type = gl_pixel_type(type);
    if (!gpu_state.ready || !gl_texture_target(target) || !gl_internal || !gl_format || !gl_type) return;
    if (level < 0 || width < 0 || height < 0 || width > max_texture_side || height > max_texture_side) return;
    glTexImage2D(GL_TEXTURE_2D, level, (GLint)gl_internal, width, height, 0, gl_format, gl_type, pixels);
    gpu_check("texture_image_2d");
}

void texture_parameter_wrap(u32 target, u32 axis, u32 mode) {
    GLenum gl_axis = gl_wrap_axis(axis);
    GLint gl_mode = gl_wrap_mode(mode);
    if (!gpu_state.ready || !gl_texture_target(target) || !gl_axis || !gl_mode) return;
    glTexParameteri(GL_TEXTURE_2D, gl_axis, gl_mode);
    gpu_check("texture_parameter_wrap");
}

// Linear minifying uses the mipmaps once the texture has them; texture_generate_mipmap
// upgrades a filter set before the levels existed.
void texture_parameter_filter(u32 target, u32 parameter, u32 value) {
    if (!gpu_state.ready || !gl_texture_target(target)) return;
    if (value > 1 || (parameter != 3 && parameter != 4)) {
        printf("unknown GPU code %u/%u for texture filter\n", parameter, value);
        return;
    }
    GLint filter = value == 1 ? GL_LINEAR : GL_NEAREST;
    if (parameter == 3) {
        if (value == 1 && bound_texture_has_mipmaps()) filter = GL_LINEAR_MIPMAP_LINEAR;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    }
    gpu_check("texture_parameter_filter");
}

void texture_generate_mipmap(u32 target) {
    if (!gpu_state.ready || !gl_texture_target(target)) return;
    if (!generate_mipmaps_on_cpu()) glGenerateMipmap(GL_TEXTURE_2D);
    if (bound_texture_min_filter() == GL_LINEAR && bound_texture_has_mipmaps()) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    }
    gpu_check("texture_generate_mipmap");
}

void texture_destroy(u32 texture) {
    if (!gpu_state.ready || texture == 0) return;
    glDeleteTextures(1, &texture);
    // GL unbinds a deleted texture from every unit.
    for (u32& bound : gpu_state.textures_2d) {
        if (bound == texture) bound = 0;
    }
}

// ---- Frame buffers ---------------------------------------------------------------------------
u32 frame_buffer_create() {
    if (!gpu_state.ready) return 0;
    GLuint frame_buffer = 0;
    glGenFramebuffers(1, &frame_buffer);
    return frame_buffer;
}

void frame_buffer_bind(u32 target, u32 frame_buffer) {
    GLenum gl_target = gl_frame_buffer_target(target);
    if (!gpu_state.ready || !gl_target) return;
    glBindFramebuffer(gl_target, frame_buffer);
    if (gl_target != GL_READ_FRAMEBUFFER) gpu_state.draw_frame_buffer = frame_buffer;
    gpu_check("frame_buffer_bind");
}

void frame_buffer_unbind(u32 target) { frame_buffer_bind(target, 0); }

// A frame buffer only ever holds 2D textures, so texture target 0 is taken as 2D too.
void frame_buffer_texture(u32 target, u32 attachment, u32 texture_target, u32 texture, i32 level) {
    GLenum gl_target = gl_frame_buffer_target(target);
    GLenum gl_attachment = gl_colour_attachment(attachment);
    if (!gpu_state.ready || !gl_target || !gl_attachment || level < 0) return;
    if (texture_target != 0 && !gl_texture_target(texture_target)) return;
    glFramebufferTexture2D(gl_target, gl_attachment, GL_TEXTURE_2D, texture, level);
    gpu_check("frame_buffer_texture");
}

i32 frame_buffer_get_status(u32 target) {
    GLenum gl_target = gl_frame_buffer_target(target);
    if (!gpu_state.ready || !gl_target) return 1;
    return frame_buffer_status_code(glCheckFramebufferStatus(gl_target));
}

void frame_buffer_copy_to_window(u32 frame_buffer, i32 width, i32 height) {
    if (!gpu_state.ready || frame_buffer == 0 || width <= 0 || height <= 0) return;
    // The blit obeys the scissor test.
    gpu_apply_scissor(GpuScissor{false, {0, 0, 0, 0}});
    glBindFramebuffer(GL_READ_FRAMEBUFFER, frame_buffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    gpu_state.draw_frame_buffer = 0;
    gpu_check("frame_buffer_copy_to_window");
}

bool pipeline_window_keeps_picture() { return gpu_state.ready && present_area_usable(); }

void frame_buffer_destroy(u32 frame_buffer) {
    if (!gpu_state.ready || frame_buffer == 0) return;
    glDeleteFramebuffers(1, &frame_buffer);
    if (gpu_state.draw_frame_buffer == frame_buffer) gpu_state.draw_frame_buffer = 0;
}
