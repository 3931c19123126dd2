// The two programs: simple_shader draws everything of a frame, raising colours to
// `gamma`; gamma_shader copies the finished frame to the window with the inverse power.
// The simple shader draws runs of quads as instances (QuadInstance in platform.h): the
// corner of the unit square comes from the vertex index, and the colour is passed flat
// so that every fragment gets it exactly.
#include "render/renderer.h"

static const char simple_shader_source[] =
    "#vertex\n"
    "#version 330 core\n"
    "layout(location = 0) in mat4 mvp;\n"
    "layout(location = 4) in vec4 color;\n"
    "layout(location = 5) in vec4 uv_rect;\n"
    "out vec2 uv;\n"
    "flat out vec4 tint;\n"
    "void main()\n"
    "{\n"
    "  vec2 corner = vec2(float(gl_VertexID & 1), float(gl_VertexID >> 1));\n"
    "  gl_Position = mvp * vec4(corner, 0.0, 1.0);\n"
    "  uv = corner * uv_rect.zw + uv_rect.xy;\n"
    "  tint = color;\n"
    "}\n"
    "#fragment\n"
    "#version 330 core\n"
    "uniform float gamma;\n"
    "uniform sampler2D diffuse;\n"
    "in vec2 uv;\n"
    "flat in vec4 tint;\n"
    "out vec4 fragment_color;\n"
    "void main()\n"
    "{\n"
    "  vec4 diffuse_color = texture(diffuse, uv);  fragment_color = vec4(pow(tint.rgb * diffuse_color.rgb, vec3(gamma)), tint.a * diffuse_color.a);\n"
    "}\n";

static const char gamma_shader_source[] =
    "#vertex\n"
    "#version 330 core\n"
    "uniform mat4 mvp;\n"
    "layout(location = 0) in vec2 a_position;\n"
    "layout(location = 1) in vec2 a_uv;\n"
    "out vec2 uv;\n"
    "void main()\n"
    "{\n"
    "  gl_Position = mvp * vec4(a_position, 0.0, 1.0);\n"
    "  uv = a_uv;\n"
    "}\n"
    "#fragment\n"
    "#version 330 core\n"
    "uniform float gamma;\n"
    "uniform sampler2D diffuse;\n"
    "in vec2 uv;\n"
    "out vec4 fragment_color;\n"
    "void main()\n"
    "{\n"
    "  vec4 linear_color = texture(diffuse, uv);\n"
    "  fragment_color = vec4(pow(linear_color.rgb, vec3(1.0/gamma)), linear_color.a);\n"
    "}\n";

const StringView simple_shader_text = SV(simple_shader_source);
const StringView gamma_shader_text = SV(gamma_shader_source);
