// The twin program of a quad program and the vertex arrays it draws from.
#include "platform/sdl_gl/quad_twin_build.h"

#include <cstdint>
#include <cstdio>

#include "platform/sdl_gl/quad_twin_source.h"

namespace {
const i64 twin_text_capacity = 16384;
char twin_vertex_text[twin_text_capacity];
char twin_fragment_text[twin_text_capacity];

// Why a program's quads are drawn one by one, for TESMORA_GL_CHECK runs.
void report(u32 program, const char* why) {
    if (gpu_state.check_errors) fprintf(stderr, "program %u: quads drawn one by one (%s)\n", program, why);
}

GLuint compile_silently(GLenum stage, const TextBuffer* text) {
    GLuint shader = glCreateShader(stage);
    const GLchar* source = text->data;
    GLint length = (GLint)text->length;
    glShaderSource(shader, 1, &source, &length);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled) return shader;
    glDeleteShader(shader);
    return 0;
}

void bind_input(GLuint twin, i32 location, const char* name) { glBindAttribLocation(twin, (GLuint)location, name); }

// Compiles and links the rewritten stages with the program's inputs kept where they are
// and the per-instance ones at the planned locations; 0 on any failure.
GLuint link_twin(const ProgramInterface* interface, const QuadPlan* plan, const TextBuffer* vertex_text,
                 const TextBuffer* fragment_text) {
    GLuint vertex = compile_silently(GL_VERTEX_SHADER, vertex_text);
    GLuint fragment = vertex ? compile_silently(GL_FRAGMENT_SHADER, fragment_text) : 0;
    if (!fragment) {
        if (vertex) glDeleteShader(vertex);
        return 0;
    }
    GLuint twin = glCreateProgram();
    for (i32 i = 0; i < interface->attribute_count; i++) {
        const ProgramVariable* a = &interface->attributes[i];
        if (a->location >= 0) bind_input(twin, a->location, a->name);
    }
    bind_input(twin, plan->instance_base, "mvp");
    bind_input(twin, plan->instance_base + 4, QUAD_INSTANCE_COLOR_NAME);
    bind_input(twin, plan->instance_base + 5, "uv_rect");
    glAttachShader(twin, vertex);
    glAttachShader(twin, fragment);
    glLinkProgram(twin);
    glDetachShader(twin, vertex);
    glDetachShader(twin, fragment);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    glGetProgramiv(twin, GL_LINK_STATUS, &linked);
    if (linked) return twin;
    glDeleteProgram(twin);
    return 0;
}

struct SourceInput {
    GLint enabled, size, stride, type, normalized, integer, divisor, buffer;
    void* pointer;
};

void read_source_input(u32 location, SourceInput* input) {
    glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &input->enabled);
    glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_SIZE, &input->size);
    glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &input->stride);
    glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_TYPE, &input->type);
    glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_NORMALIZED, &input->normalized);
    glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_INTEGER, &input->integer);
    glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_DIVISOR, &input->divisor);
    glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &input->buffer);
    glGetVertexAttribPointerv(location, GL_VERTEX_ATTRIB_ARRAY_POINTER, &input->pointer);
}
}  // namespace

void program_interface_read(GLuint program, ProgramInterface* out) {
    out->uniform_count = 0;
    out->attribute_count = 0;
    out->overflow = false;
    GLint uniforms = 0, attributes = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &uniforms);
    glGetProgramiv(program, GL_ACTIVE_ATTRIBUTES, &attributes);
    if (uniforms > program_variable_capacity || attributes > program_variable_capacity) {
        out->overflow = true;
        return;
    }
    for (i32 i = 0; i < uniforms; i++) {
        ProgramVariable* v = &out->uniforms[out->uniform_count++];
        GLsizei length = 0;
        glGetActiveUniform(program, (GLuint)i, (GLsizei)sizeof v->name, &length, &v->size, &v->type, v->name);
        if (length >= (GLsizei)sizeof v->name - 1) out->overflow = true;
        v->location = glGetUniformLocation(program, v->name);
    }
    for (i32 i = 0; i < attributes; i++) {
        ProgramVariable* v = &out->attributes[out->attribute_count++];
        GLsizei length = 0;
        glGetActiveAttrib(program, (GLuint)i, (GLsizei)sizeof v->name, &length, &v->size, &v->type, v->name);
        if (length >= (GLsizei)sizeof v->name - 1) out->overflow = true;
        v->location = glGetAttribLocation(program, v->name);
    }
}

bool quad_twin_build(u32 program, StringView vertex, StringView fragment, QuadProgram* record) {
    ProgramInterface interface;
    program_interface_read(program, &interface);
    QuadPlan plan;
    if (!quad_program_plan(&interface, &plan)) return false;  // not a quad program: nothing to say
    TextBuffer vertex_text = {twin_vertex_text, twin_text_capacity, 0};
    TextBuffer fragment_text = {twin_fragment_text, twin_text_capacity, 0};
    if (!quad_twin_vertex_source(vertex, &vertex_text) || !quad_twin_fragment_source(fragment, &fragment_text)) {
        report(program, "declarations not as expected");
        return false;
    }
    GLuint twin = link_twin(&interface, &plan, &vertex_text, &fragment_text);
    if (!twin) {
        report(program, "the twin did not build");
        return false;
    }
    ProgramInterface twin_interface;
    program_interface_read(twin, &twin_interface);
    i32 twin_locations[program_variable_capacity];
    if (!quad_twin_matches(&interface, &plan, &twin_interface, twin_locations)) {
        report(program, "the twin's interface differs");
        glDeleteProgram(twin);
        return false;
    }
    quad_program_init(record, program, twin, &interface, &plan, twin_locations);
    return true;
}

u32 quad_twin_array_build(const QuadProgram* record, u32 source, u32 instance_buffer) {
    glBindVertexArray(source);
    gpu_state.gl_vertex_array = source;
    SourceInput inputs[vertex_attribute_locations];
    for (u32 location = 0; location < (u32)vertex_attribute_locations; location++) {
        if (!(record->attribute_mask & (1u << location))) continue;
        read_source_input(location, &inputs[location]);
        if (inputs[location].enabled && (inputs[location].divisor != 0 || inputs[location].buffer == 0)) return 0;
    }
    GLuint twin = 0;
    glGenVertexArrays(1, &twin);
    glBindVertexArray(twin);
    gpu_state.gl_vertex_array = twin;
    for (u32 location = 0; location < (u32)vertex_attribute_locations; location++) {
        const SourceInput* in = &inputs[location];
        if (!(record->attribute_mask & (1u << location)) || !in->enabled) continue;
        glBindBuffer(GL_ARRAY_BUFFER, (GLuint)in->buffer);
        if (in->integer) {
            glVertexAttribIPointer(location, in->size, (GLenum)in->type, in->stride, in->pointer);
        } else {
            glVertexAttribPointer(location, in->size, (GLenum)in->type, in->normalized ? GL_TRUE : GL_FALSE,
                                  in->stride, in->pointer);
        }
        glEnableVertexAttribArray(location);
    }
    // Per instance: four matrix columns, the colour and uv_rect, 16 bytes each.
    glBindBuffer(GL_ARRAY_BUFFER, instance_buffer);
    for (i32 i = 0; i < quad_instance_locations; i++) {
        GLuint location = (GLuint)(record->instance_base + i);
        glVertexAttribPointer(location, 4, GL_FLOAT, GL_FALSE, quad_instance_floats * (i32)sizeof(f32),
                              (const void*)(uintptr_t)(i * 4 * sizeof(f32)));
        glEnableVertexAttribArray(location);
        glVertexAttribDivisor(location, 1);
    }
    glBindBuffer(GL_ARRAY_BUFFER, gpu_state.array_buffer);
    gpu_check("quad twin vertex array");
    return twin;
}
