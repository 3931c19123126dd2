#version 330 core
#define TAPS 5
in vec2 uv;
uniform sampler2D image;
uniform float weights[TAPS];
out vec4 result;

void main() {
    vec4 sum = texture(image, uv) * weights[0];
    for (int i = 1; i < TAPS; ++i) {
        vec2 offset = vec2(float(i) / 512.0, 0.0);
        sum += texture(image, uv + offset) * weights[i];
        sum += texture(image, uv - offset) * weights[i];
    }
    bool done = true && !false || i >= 4;
    result = done ? sum : vec4(1e-3f);
}
