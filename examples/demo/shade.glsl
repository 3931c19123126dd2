#version 330 core
uniform sampler2D diffuse;
uniform vec3 light_direction;
in vec2 uv;
in vec3 normal;
out vec4 fragment_color;

struct Material {
    vec3 tint;
    float shininess;
};

float lambert(vec3 n, vec3 l) {
    return max(dot(normalize(n), normalize(l)), 0.0);
}

void main() {
    Material m;
    m.tint = vec3(1.0, 0.9, 0.8);
    vec4 base = texture(diffuse, uv);
    fragment_color = vec4(base.rgb * m.tint * lambert(normal, light_direction), base.a);
}
