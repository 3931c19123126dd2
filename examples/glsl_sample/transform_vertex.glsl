#version 330 core
// Transforms positions and normals; passes texture coordinates on.
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec3 a_normal;
layout(location = 2) in vec2 a_uv;

uniform mat4 u_model;

layout(std140) uniform Camera {
    mat4 view;
    mat4 projection;
} camera;

out vec3 v_normal;
out vec3 v_world;
out vec2 v_uv;

mat3 normal_matrix(mat4 m) {
    return transpose(inverse(mat3(m)));
}

void main() {
    vec4 world = u_model * vec4(a_position, 1.0);
    v_world = world.xyz;
    v_normal = normal_matrix(u_model) * a_normal;
    v_uv = a_uv;
    gl_Position = camera.projection * camera.view * world;
    gl_PointSize = 1.0;
}
