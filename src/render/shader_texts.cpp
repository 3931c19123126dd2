// The two programs: simple_shader draws everything of a frame, raising colours to
// `gamma`; gamma_shader copies the finished frame to the window with the inverse power.
#include "render/renderer.h"

static const char simple_shader_source[] =
    "#vertex\n"
    "#version 330 core\n"
    "uniform mat4 mvp;\n"
    "uniform vec4 uv_rect;\n"
    "layout(location = 0) in vec2 a_position;\n"
    "layout(location = 1) in vec2 a_uv;\n"
    "out vec2 uv;\n"
    "void main()\n"
    "{\n"
    "  gl_Position = mvp * vec4(a_position, 0.0, 1.0);\n"
    "  uv = a_uv * uv_rect.zw + uv_rect.xy;\n"
    "}\n"
    "#fragment\n"
    "#version 330 core\n"
    "uniform float gamma;\n"
    "uniform vec4 color;\n"
    "uniform sampler2D diffuse;\n"
    "in vec2 uv;\n"
    "out vec4 fragment_color;\n"
    "void main()\n"
    "{\n"
    "  vec4 diffuse_color = texture(diffuse, uv);  fragment_color = vec4(pow(color.rgb * diffuse_color.rgb, vec3(gamma)), color.a * diffuse_color.a);\n"
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
