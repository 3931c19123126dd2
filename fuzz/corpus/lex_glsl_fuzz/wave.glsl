#version 330 core
layout(location = 0) in vec3 position;
uniform mat4 projection;
out vec4 colour;

/* Waves along x. */
float wave(float x) { return sin(x * 3.0 + 1.0f) * 0.25; }

void main() {
    vec3 p = position;
    p.y += wave(p.x);  // displace
    if (p.y > 1.0 ^^ p.x < 0.0) discard;
    uint n = 3u;
    gl_Position = projection * vec4(p, 1.0);
    colour = vec4(0.5, 0.75, 1.0, 1.0);
}
