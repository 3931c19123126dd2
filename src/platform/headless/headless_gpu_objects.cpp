// GPU objects without a GPU: handles, bindings and texture sizes, checked the way a real
// driver would check them, so that misuse shows up in tests.
#include <cstdlib>
#include <cstring>

#include "platform/headless/headless_internal.h"

namespace {

// Far beyond what the program creates; a runaway loop stops here instead of eating memory.
const i64 max_objects = 1 << 20;
const u32 max_texture_units = 32;
const u32 texture_target_2d = 1;

struct ObjectTable {
    HeadlessObject* objects;  // kept between resets
    i64 count;
    i64 capacity;
    u32 unit_textures[max_texture_units];  // target 1 of each unit
};

ObjectTable table;

i64* live_counter(HeadlessObjectKind kind) {
    HeadlessGpuState* gpu = headless_gpu_mutable();
    switch (kind) {
        case object_vertex_array: return &gpu->live_vertex_arrays;
        case object_buffer: return &gpu->live_buffers;
        case object_program: return &gpu->live_programs;
        case object_texture: return &gpu->live_textures;
        case object_frame_buffer: return &gpu->live_frame_buffers;
        default: return nullptr;
    }
}

// A destroyed object is unbound wherever it was bound, as a driver does.
void forget_bindings(u32 handle, HeadlessObjectKind kind) {
    HeadlessGpuState* gpu = headless_gpu_mutable();
    switch (kind) {
        case object_vertex_array:
            if (gpu->vertex_array == handle) gpu->vertex_array = 0;
            break;
        case object_buffer:
            if (gpu->array_buffer == handle) gpu->array_buffer = 0;
            break;
        case object_program:
            if (gpu->program == handle) gpu->program = 0;
            break;
        case object_texture:
            for (u32 unit = 0; unit < max_texture_units; unit++)
                if (table.unit_textures[unit] == handle) table.unit_textures[unit] = 0;
            gpu->texture = table.unit_textures[0];
            break;
        case object_frame_buffer:
            if (gpu->frame_buffer == handle) gpu->frame_buffer = 0;
            break;
        default: break;
    }
}

// The texture bound to target 1 of the active unit, or null (counted as misuse).
HeadlessObject* bound_texture(u32 target, const char* call) {
    u32 unit = headless_gpu_mutable()->active_unit;
    HeadlessObject* texture = nullptr;
    if (target == texture_target_2d) texture = headless_object(table.unit_textures[unit], object_texture);
    if (!texture) headless_gpu_misuse(call);
    return texture;
}

}  // namespace

void headless_gpu_objects_reset() {
    table.count = 0;
    memset(table.unit_textures, 0, sizeof(table.unit_textures));
}

u32 headless_object_create(HeadlessObjectKind kind) {
    if (table.count >= max_objects) {
        headless_gpu_misuse("object limit reached");
        return 0;
    }
    if (table.count == table.capacity) {
        i64 capacity = table.capacity ? table.capacity * 2 : 256;
        void* grown = realloc(table.objects, (size_t)capacity * sizeof(HeadlessObject));
        if (!grown) {
            headless_gpu_misuse("out of memory for objects");
            return 0;
        }
        table.objects = (HeadlessObject*)grown;
        table.capacity = capacity;
    }
    HeadlessObject* object = &table.objects[table.count++];
    memset(object, 0, sizeof(*object));
    object->kind = kind;
    object->live = true;
    object->first_uniform = -1;
    object->mvp = object->color = object->uv_rect = -1;
    (*live_counter(kind))++;
    return (u32)table.count;
}

HeadlessObject* headless_object(u32 handle, HeadlessObjectKind kind) {
    if (handle == 0 || (i64)handle > table.count) return nullptr;
    HeadlessObject* object = &table.objects[handle - 1];
    return object->live && object->kind == kind ? object : nullptr;
}

void headless_object_destroy(u32 handle, HeadlessObjectKind kind) {
    if (handle == 0) return;
    HeadlessObject* object = headless_object(handle, kind);
    if (!object) {
        headless_gpu_misuse("destroy of an unknown or already destroyed object");
        return;
    }
    object->live = false;
    (*live_counter(kind))--;
    forget_bindings(handle, kind);
}

// ---- Vertex arrays, buffers and attributes ---------------------------------------------------

u32 vertex_array_create() { return headless_object_create(object_vertex_array); }

void vertex_array_bind(u32 vertex_array) {
    if (vertex_array != 0 && !headless_object(vertex_array, object_vertex_array)) {
        headless_gpu_misuse("vertex_array_bind of an unknown vertex array");
        return;
    }
    headless_gpu_mutable()->vertex_array = vertex_array;
}

void vertex_array_unbind() { headless_gpu_mutable()->vertex_array = 0; }
void vertex_array_destroy(u32 vertex_array) { headless_object_destroy(vertex_array, object_vertex_array); }

u32 buffer_create() { return headless_object_create(object_buffer); }

void buffer_bind(u32 target, u32 buffer) {
    if (buffer != 0 && !headless_object(buffer, object_buffer)) {
        headless_gpu_misuse("buffer_bind of an unknown buffer");
        return;
    }
    if (target == 0) headless_gpu_mutable()->array_buffer = buffer;
}

void buffer_data(u32 target, i64 size, const void*, u32) {
    if (target != 0 || headless_gpu_mutable()->array_buffer == 0) headless_gpu_misuse("buffer_data with no buffer bound");
    else if (size < 0) headless_gpu_misuse("buffer_data with a negative size");
}

void buffer_destroy(u32 buffer) { headless_object_destroy(buffer, object_buffer); }

void attribute_enable(u32) {
    if (headless_gpu_mutable()->vertex_array == 0) headless_gpu_misuse("attribute_enable with no vertex array bound");
}

void attribute_format(u32, i32, u32, bool, i32, i64) {
    HeadlessGpuState* gpu = headless_gpu_mutable();
    if (gpu->vertex_array == 0 || gpu->array_buffer == 0)
        headless_gpu_misuse("attribute_format with no vertex array or buffer bound");
}

// ---- Textures ------------------------------------------------------------------------------

u32 texture_create() { return headless_object_create(object_texture); }

void texture_bind(u32 target, u32 texture) {
    if (texture != 0 && !headless_object(texture, object_texture)) {
        headless_gpu_misuse("texture_bind of an unknown texture");
        return;
    }
    if (target != texture_target_2d) return;
    HeadlessGpuState* gpu = headless_gpu_mutable();
    table.unit_textures[gpu->active_unit] = texture;
    gpu->texture = table.unit_textures[0];
}

void texture_unbind(u32 target) { texture_bind(target, 0); }

void headless_bind_unit0(u32 texture) {
    HeadlessGpuState* gpu = headless_gpu_mutable();
    gpu->active_unit = 0;
    table.unit_textures[0] = texture;
    gpu->texture = texture;
}

void texture_unit(u32 unit) {
    if (unit >= max_texture_units) {
        headless_gpu_misuse("texture_unit out of range");
        return;
    }
    headless_gpu_mutable()->active_unit = unit;
}

void texture_image_2d(u32 target, i32 level, u32, i32 width, i32 height, u32, u32, const void*) {
    HeadlessObject* texture = bound_texture(target, "texture_image_2d with no texture bound");
    if (!texture) return;
    if (width < 0 || height < 0) {
        headless_gpu_misuse("texture_image_2d with a negative size");
        return;
    }
    if (level == 0) {
        texture->width = width;
        texture->height = height;
    }
}

void texture_parameter_wrap(u32 target, u32, u32) { bound_texture(target, "texture_parameter_wrap, nothing bound"); }
void texture_parameter_filter(u32 target, u32, u32) { bound_texture(target, "texture_parameter_filter, nothing bound"); }
void texture_generate_mipmap(u32 target) { bound_texture(target, "texture_generate_mipmap, nothing bound"); }
void texture_destroy(u32 texture) { headless_object_destroy(texture, object_texture); }

void headless_texture_size(u32 texture, i32* width, i32* height) {
    HeadlessObject* object = headless_object(texture, object_texture);
    if (width) *width = object ? object->width : 0;
    if (height) *height = object ? object->height : 0;
}

// ---- Frame buffers ---------------------------------------------------------------------------

u32 frame_buffer_create() { return headless_object_create(object_frame_buffer); }

void frame_buffer_bind(u32, u32 frame_buffer) {
    if (frame_buffer != 0 && !headless_object(frame_buffer, object_frame_buffer)) {
        headless_gpu_misuse("frame_buffer_bind of an unknown frame buffer");
        return;
    }
    headless_gpu_mutable()->frame_buffer = frame_buffer;
}

void frame_buffer_unbind(u32 target) { frame_buffer_bind(target, 0); }

void frame_buffer_texture(u32, u32, u32, u32 texture, i32) {
    if (headless_gpu_mutable()->frame_buffer == 0)
        headless_gpu_misuse("frame_buffer_texture with no frame buffer bound");
    else if (texture != 0 && !headless_object(texture, object_texture))
        headless_gpu_misuse("frame_buffer_texture of an unknown texture");
}

void frame_buffer_copy_to_window(u32 frame_buffer, i32 width, i32 height) {
    HeadlessGpuState* gpu = headless_gpu_mutable();
    if (!headless_object(frame_buffer, object_frame_buffer)) {
        headless_gpu_misuse("frame_buffer_copy_to_window of an unknown frame buffer");
        return;
    }
    if (width <= 0 || height <= 0) headless_gpu_misuse("frame_buffer_copy_to_window of no pixels");
    gpu->frame_buffer = 0;
    gpu->copies_to_window++;
}

// The test back-end's window is taken as a picture of its own each frame (no kept back
// buffer), so the renderer always copies it whole.
bool pipeline_window_keeps_picture() { return false; }

void frame_buffer_destroy(u32 frame_buffer) { headless_object_destroy(frame_buffer, object_frame_buffer); }
