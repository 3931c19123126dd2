#version 330 core
// Phong lighting with a fixed array of point lights.
precision mediump float;

struct Light {
    vec3 position;
    vec3 color;
    float intensity;
};

struct Material;

in vec3 v_normal;
in vec3 v_world;
in vec2 v_uv;

layout(location = 0) out vec4 frag_color;

uniform sampler2D u_albedo;
uniform vec3 u_camera;
uniform Light u_lights[4];
uniform int u_light_count;

const float ambient = 0.1;

// A user function named like a built-in: uses still resolve to the built-in.
float length(vec3 v);

float attenuation(float d) {
    return 1.0 / (1.0 + 0.09 * d + 0.032 * d * d);
}

vec3 shade(Light light, vec3 n, vec3 albedo) {
    vec3 to_light = light.position - v_world;
    float d = length(to_light);
    vec3 l = normalize(to_light);
    vec3 view = normalize(u_camera - v_world);
    vec3 h = normalize(l + view);
    float diffuse = max(dot(n, l), 0.0);
    float specular = pow(max(dot(n, h), 0.0), 32.0);
    return (diffuse * albedo + specular) * light.color * light.intensity * attenuation(d);
}

void main() {
    vec3 n = normalize(v_normal);
    vec3 albedo = texture(u_albedo, v_uv).rgb;
    vec3 total = albedo * ambient;
    for (int i = 0; i < u_light_count && i < 4; i++) {
        total += shade(u_lights[i], n, albedo);
    }
    if (gl_FragCoord.x < 1.0 || gl_FragCoord.y < 1.0) {
        total = vec3(0.0);
    } else if (total.r > 1.0 ^^ total.g > 1.0) {
        total = clamp(total, 0.0, 1.0);
    } else {
        total = mix(total, vec3(1.0), 0.05);
    }
    frag_color = vec4(total, 1.0);
}

float length(vec3 v) {
    return sqrt(dot(v, v));
}
#version 330 core
// Phong lighting with a fixed array of point lights.
precision mediump float;

struct Light {
    vec3 position;
    vec3 color;
    float intensity;
};

struct Material;

in vec3 v_normal;
in vec3 v_world;
in vec2 v_uv;

layout(location = 0) out vec4 frag_color;

uniform sampler2D u_albedo;
uniform vec3 u_camera;
uniform Light u_lights[4];
uniform int u_light_count;

const float ambient = 0.1;

// A user function named like a built-in: uses still resolve to the built-in.
float length(vec3 v);

float attenuation(float d) {
    return 1.0 / (1.0 + 0.09 * d + 0.032 * d * d);
}

vec3 shade(Light light, vec3 n, vec3 albedo) {
    vec3 to_light = light.position - v_world;
    float d = length(to_light);
    vec3 l = normalize(to_light);
    vec3 view = normalize(u_camera - v_world);
    vec3 h = normalize(l + view);
    float diffuse = max(dot(n, l), 0.0);
    float specular = pow(max(dot(n, h), 0.0), 32.0);
    return (diffuse * albedo + specular) * light.color * light.intensity * attenuation(d);
}

void main() {
    vec3 n = normalize(v_normal);
    vec3 albedo = texture(u_albedo, v_uv).rgb;
    vec3 total = albedo * ambient;
    for (int i = 0; i < u_light_count && i < 4; i++) {
        total += shade(u_lights[i], n, albedo);
    }
    if (gl_FragCoord.x < 1.0 || gl_FragCoord.y < 1.0) {
        total = vec3(0.0);
    } else if (total.r > 1.0 ^^ total.g > 1.0) {
        total = clamp(total, 0.0, 1.0);
    } else {
        total = mix(total, vec3(1.0), 0.05);
    }
    frag_color = vec4(total, 1.0);
}

float length(vec3 v) {
    return sqrt(dot(v, v));
}
