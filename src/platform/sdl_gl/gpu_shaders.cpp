// Programs: compiling the two sections, linking, uniform look-up and uniform values.
#include <cstring>

#include "platform/platform.h"
#include "platform/sdl_gl/gpu_state.h"
#include "platform/sdl_gl/shader_text.h"

namespace {
// Appends to the caller's log buffer, cut at its capacity; a NUL is kept after the text
// for callers that print it as a C string.
struct LogWriter {
    char* data;
    i64 capacity;
    i64 length;
};

void log_append(LogWriter* log, const char* text, i64 length) {
    if (log->capacity <= 0) return;
    i64 room = log->capacity - 1 - log->length;
    if (length > room) length = room;
    if (length <= 0) return;
    memcpy(log->data + log->length, text, (size_t)length);
    log->length += length;
    log->data[log->length] = 0;
}

void log_append_cstr(LogWriter* log, const char* text) { log_append(log, text, (i64)strlen(text)); }

bool compile_stage(GLenum stage, StringView text, const char* name, LogWriter* log, GLuint* shader_out) {
    GLuint shader = glCreateShader(stage);
    const GLchar* source = text.data;
    GLint length = (GLint)text.length;
    glShaderSource(shader, 1, &source, &length);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled) {
        char info[1024];
        GLsizei info_length = 0;
        glGetShaderInfoLog(shader, (GLsizei)sizeof info, &info_length, info);
        log_append_cstr(log, name);
        log_append_cstr(log, ": ");
        log_append(log, info, info_length);
        glDeleteShader(shader);
        return false;
    }
    *shader_out = shader;
    return true;
}

bool link_program(GLuint program, GLuint vertex, GLuint fragment, LogWriter* log) {
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDetachShader(program, vertex);
    glDetachShader(program, fragment);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked) return true;
    char info[1024];
    GLsizei info_length = 0;
    glGetProgramInfoLog(program, (GLsizei)sizeof info, &info_length, info);
    log_append_cstr(log, "link: ");
    log_append(log, info, info_length);
    return false;
}

}  // namespace

u32 shader_create() { return gpu_state.ready ? glCreateProgram() : 0; }

ShaderResult shader_source(u32 program, StringView source, StringView log_buffer) {
    LogWriter log = {(char*)log_buffer.data, log_buffer.data ? log_buffer.length : 0, 0};
    ShaderResult result = {0, StringView{log_buffer.data, 0}};
    if (!gpu_state.ready || program == 0 || !glIsProgram(program)) {
        log_append_cstr(&log, "not a program");
        result.log.length = log.length;
        return result;
    }
    ShaderSections sections = shader_split(source);
    if (sections.problem) {
        log_append_cstr(&log, sections.problem);
        result.log.length = log.length;
        return result;
    }
    GLuint vertex = 0, fragment = 0;
    bool vertex_ok = compile_stage(GL_VERTEX_SHADER, sections.vertex, "vertex", &log, &vertex);
    bool fragment_ok = compile_stage(GL_FRAGMENT_SHADER, sections.fragment, "fragment", &log, &fragment);
    if (vertex_ok && fragment_ok) result.ok = link_program(program, vertex, fragment, &log) ? 1 : 0;
    if (vertex) glDeleteShader(vertex);
    if (fragment) glDeleteShader(fragment);
    gpu_check("shader_source");
    result.log.length = log.length;
    return result;
}

i32 shader_get_uniform_location(u32 program, StringView name) {
    char text[128];
    if (!gpu_state.ready || program == 0 || name.length <= 0 || name.length >= (i64)sizeof text) return -1;
    memcpy(text, name.data, (size_t)name.length);
    text[name.length] = 0;
    if (memchr(text, 0, (size_t)name.length)) return -1;
    i32 location = glGetUniformLocation(program, text);
    gpu_check("shader_get_uniform_location");
    return location;
}

void shader_bind(u32 program) {
    if (!gpu_state.ready || program == gpu_state.program) return;
    glUseProgram(program);
    gpu_state.program = program;
    gpu_check("shader_bind");
}

void shader_uniform1f(i32 location, f32 value) {
    if (!gpu_state.ready || location < 0) return;
    glUniform1f(location, value);
    gpu_check("shader_uniform1f");
}

void shader_uniform1i(i32 location, i32 value) {
    if (!gpu_state.ready || location < 0) return;
    glUniform1i(location, value);
    gpu_check("shader_uniform1i");
}

void shader_uniform4f(i32 location, f32 x, f32 y, f32 z, f32 w) {
    if (!gpu_state.ready || location < 0) return;
    glUniform4f(location, x, y, z, w);
    gpu_check("shader_uniform4f");
}

void shader_uniform_matrix4fa(i32 location, i32 count, bool transpose, const f32* values) {
    if (!gpu_state.ready || location < 0 || count <= 0 || !values) return;
    glUniformMatrix4fv(location, count, transpose ? GL_TRUE : GL_FALSE, values);
    gpu_check("shader_uniform_matrix4fa");
}

void shader_destroy(u32 program) {
    if (!gpu_state.ready || program == 0) return;
    if (gpu_state.program == program) {
        glUseProgram(0);
        gpu_state.program = 0;
    }
    glDeleteProgram(program);
}
