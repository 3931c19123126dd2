// Shader programs without a compiler: the source is only checked for its two sections,
// and uniforms are remembered per program and location so draws can record them.
#include <cstdlib>
#include <cstring>

#include "platform/headless/headless_internal.h"

namespace {

const i64 max_uniforms = 1 << 16;
const i64 max_name_bytes = 1 << 20;

struct UniformEntry {
    u32 program;
    i32 location;
    i32 next;  // next entry of the same program, -1 at the end
    i64 name_offset;
    i64 name_length;
    HeadlessUniformValue value;
};

struct UniformTable {
    UniformEntry* entries;  // storage kept between resets
    i64 count, capacity;
    char* names;
    i64 names_used, names_capacity;
};

UniformTable uniforms;

// Storage of at least `wanted` elements (no more than `limit`), or null with the old
// storage still valid.
void* grow(void* memory, i64* capacity, i64 wanted, i64 element_size, i64 limit) {
    if (wanted <= *capacity) return memory;
    if (wanted > limit) return nullptr;
    i64 grown = *capacity ? *capacity : 64;
    while (grown < wanted) grown *= 2;
    if (grown > limit) grown = limit;
    void* memory_grown = realloc(memory, (size_t)(grown * element_size));
    if (memory_grown) *capacity = grown;
    return memory_grown;
}

StringView entry_name(const UniformEntry& entry) {
    return StringView{uniforms.names + entry.name_offset, entry.name_length};
}

i32 find_entry(const HeadlessObject* program, StringView name) {
    for (i32 i = program->first_uniform; i >= 0; i = uniforms.entries[i].next)
        if (sv_equal(entry_name(uniforms.entries[i]), name)) return i;
    return -1;
}

// Appends a fresh entry for `name` at the program's next location; -1 when full.
i32 add_entry(u32 handle, StringView name) {
    void* entries = grow(uniforms.entries, &uniforms.capacity, uniforms.count + 1, sizeof(UniformEntry), max_uniforms);
    if (entries) uniforms.entries = (UniformEntry*)entries;
    void* names = grow(uniforms.names, &uniforms.names_capacity, uniforms.names_used + name.length, 1, max_name_bytes);
    if (names) uniforms.names = (char*)names;
    if (!entries || !names) {
        headless_gpu_misuse("uniform table full");
        return -1;
    }
    HeadlessObject* program = headless_object(handle, object_program);
    i32 index = (i32)uniforms.count++;
    UniformEntry* entry = &uniforms.entries[index];
    memset(entry, 0, sizeof(*entry));
    entry->program = handle;
    entry->location = program->uniform_count++;
    entry->name_offset = uniforms.names_used;
    entry->name_length = name.length;
    memcpy(uniforms.names + uniforms.names_used, name.data, (size_t)name.length);
    uniforms.names_used += name.length;
    // Chain at the front: the newest location is the most likely to be set next.
    entry->next = program->first_uniform;
    program->first_uniform = index;
    if (sv_equal(name, SV("mvp"))) program->mvp = index;
    if (sv_equal(name, SV("color"))) program->color = index;
    if (sv_equal(name, SV("uv_rect"))) program->uv_rect = index;
    return index;
}

// The value that a uniform call at `location` changes in the bound program, or null.
HeadlessUniformValue* uniform_target(i32 location) {
    if (location == -1) return nullptr;  // an unknown name: ignored, as by a driver
    u32 handle = headless_gpu_mutable()->program;
    HeadlessObject* program = headless_object(handle, object_program);
    if (!program) {
        headless_gpu_misuse("uniform set with no program bound");
        return nullptr;
    }
    for (i32 i = program->first_uniform; i >= 0; i = uniforms.entries[i].next) {
        if (uniforms.entries[i].location != location) continue;
        uniforms.entries[i].value.set_count++;
        return &uniforms.entries[i].value;
    }
    headless_gpu_misuse("uniform location not of the bound program");
    return nullptr;
}

// Writes `message` into the caller's log buffer (cut to fit) and returns it from there.
StringView write_log(StringView log_buffer, StringView message) {
    if (!log_buffer.data || log_buffer.length <= 0) return StringView{"", 0};
    i64 length = message.length < log_buffer.length ? message.length : log_buffer.length;
    memcpy((char*)log_buffer.data, message.data, (size_t)length);
    return StringView{log_buffer.data, length};
}

// Offset of a line that starts with `marker`, or -1.
i64 find_marker_line(StringView source, StringView marker) {
    for (i64 i = 0; i + marker.length <= source.length; i++) {
        if (i > 0 && source.data[i - 1] != '\n') continue;
        if (memcmp(source.data + i, marker.data, (size_t)marker.length) == 0) return i;
    }
    return -1;
}

}  // namespace

void headless_shaders_reset() {
    uniforms.count = 0;
    uniforms.names_used = 0;
}

u32 shader_create() { return headless_object_create(object_program); }

ShaderResult shader_source(u32 handle, StringView source, StringView log_buffer) {
    HeadlessObject* program = headless_object(handle, object_program);
    if (!program) {
        headless_gpu_misuse("shader_source of an unknown program");
        return ShaderResult{0, write_log(log_buffer, SV("unknown program\n"))};
    }
    if (!source.data || source.length < 0) source = StringView{"", 0};
    i64 vertex = find_marker_line(source, SV("#vertex"));
    i64 fragment = find_marker_line(source, SV("#fragment"));
    StringView error = {nullptr, 0};
    if (vertex < 0) error = SV("no #vertex section\n");
    else if (fragment < 0) error = SV("no #fragment section\n");
    else if (fragment < vertex) error = SV("#fragment section before #vertex section\n");
    program->linked = error.data == nullptr;
    if (!program->linked) return ShaderResult{0, write_log(log_buffer, error)};
    return ShaderResult{1, write_log(log_buffer, StringView{"", 0})};
}

i32 shader_get_uniform_location(u32 handle, StringView name) {
    HeadlessObject* program = headless_object(handle, object_program);
    if (!program) {
        headless_gpu_misuse("shader_get_uniform_location of an unknown program");
        return -1;
    }
    if (!name.data || name.length <= 0) return -1;
    i32 entry = find_entry(program, name);
    if (entry < 0) entry = add_entry(handle, name);
    return entry < 0 ? -1 : uniforms.entries[entry].location;
}

void shader_bind(u32 handle) {
    if (handle != 0 && !headless_object(handle, object_program)) {
        headless_gpu_misuse("shader_bind of an unknown program");
        return;
    }
    headless_gpu_mutable()->program = handle;
}

void shader_uniform1f(i32 location, f32 value) {
    HeadlessUniformValue* target = uniform_target(location);
    if (target) target->floats[0] = value;
}

void shader_uniform1i(i32 location, i32 value) {
    HeadlessUniformValue* target = uniform_target(location);
    if (target) target->integer = value;
}

void shader_uniform4f(i32 location, f32 x, f32 y, f32 z, f32 w) {
    HeadlessUniformValue* target = uniform_target(location);
    if (!target) return;
    target->floats[0] = x;
    target->floats[1] = y;
    target->floats[2] = z;
    target->floats[3] = w;
}

// Only the first matrix of an array is kept: the program sets single matrices.
void shader_uniform_matrix4fa(i32 location, i32 count, bool transpose, const f32* values) {
    if (count < 1 || !values) {
        if (location != -1) headless_gpu_misuse("shader_uniform_matrix4fa without values");
        return;
    }
    HeadlessUniformValue* target = uniform_target(location);
    if (!target) return;
    for (i32 column = 0; column < 4; column++)
        for (i32 row = 0; row < 4; row++)
            target->floats[column * 4 + row] = transpose ? values[row * 4 + column] : values[column * 4 + row];
}

void shader_destroy(u32 handle) { headless_object_destroy(handle, object_program); }

namespace {
const HeadlessUniformValue* entry_value(i32 entry) {
    return entry >= 0 && entry < uniforms.count ? &uniforms.entries[entry].value : nullptr;
}
}  // namespace

HeadlessProgramUniforms headless_program_uniforms(u32 handle) {
    HeadlessObject* program = headless_object(handle, object_program);
    if (!program) return HeadlessProgramUniforms{nullptr, nullptr, nullptr};
    return HeadlessProgramUniforms{entry_value(program->mvp), entry_value(program->color),
                                   entry_value(program->uv_rect)};
}

// Destroyed programs keep their values: a test may look after shutdown.
const HeadlessUniformValue* headless_uniform(u32 handle, StringView name) {
    for (i64 i = 0; i < uniforms.count; i++)
        if (uniforms.entries[i].program == handle && sv_equal(entry_name(uniforms.entries[i]), name))
            return &uniforms.entries[i].value;
    return nullptr;
}
