#version 330 core
// Separable Gaussian blur with weights in a uniform block.
in vec2 v_uv;
out vec4 frag_color;

layout(std140) uniform BlurSettings {
    vec2 direction;
    float radius;
};

uniform sampler2D u_image;

const int taps = 5;
float weights[5] = float[](0.227027, 0.1945946, 0.1216216, 0.054054, 0.016216);

void main() {
    vec2 texel = 1.0 / vec2(textureSize(u_image, 0));
    vec3 result = texture(u_image, v_uv).rgb * weights[0];
    for (int i = 1; i < taps; ++i) {
        vec2 offset = direction * texel * float(i) * radius;
        result += texture(u_image, v_uv + offset).rgb * weights[i];
        result += texture(u_image, v_uv - offset).rgb * weights[i];
    }
    frag_color = vec4(result, 1.0);
}
#version 330 core
// Separable Gaussian blur with weights in a uniform block.
in vec2 v_uv;
out vec4 frag_color;

layout(std140) uniform BlurSettings {
    vec2 direction;
    float radius;
};

uniform sampler2D u_image;

const int taps = 5;
float weights[5] = float[](0.227027, 0.1945946, 0.1216216, 0.054054, 0.016216);

void main() {
    vec2 texel = 1.0 / vec2(textureSize(u_image, 0));
    vec3 result = texture(u_image, v_uv).rgb * weights[0];
    for (int i = 1; i < taps; ++i) {
        vec2 offset = direction * texel * float(i) * radius;
        result += texture(u_image, v_uv + offset).rgb * weights[i];
        result += texture(u_image, v_uv - offset).rgb * weights[i];
    }
    frag_color = vec4(result, 1.0);
}
