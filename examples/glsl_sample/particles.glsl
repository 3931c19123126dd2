// Particle update: a simple integrator with a bounded loop, a switch and a do-while.
struct Particle {
    vec3 position;
    vec3 velocity;
    float life;
};

uniform float u_dt;
uniform vec3 u_gravity;
uniform int u_mode;

Particle integrate(Particle p, float dt);

float hash(float n) {
    return fract(sin(n) * 43758.5453);
}

Particle integrate(Particle p, float dt) {
    Particle q = p;
    q.velocity += u_gravity * dt;
    q.position += q.velocity * dt;
    q.life -= dt;
    return q;
}

vec3 wind(vec3 at, int octaves) {
    vec3 sum = vec3(0.0);
    float scale = 1.0;
    int k = 0;
    do {
        float n = hash(dot(at, vec3(12.9898, 78.233, 37.719)) * scale);
        sum += vec3(n, n * 0.5, -n) / scale;
        scale *= 2.0;
        k++;
    } while (k < octaves);
    return sum;
}

void update(inout Particle p) {
    switch (u_mode) {
    case 0:
        p = integrate(p, u_dt);
        break;
    case 1:
        p.velocity += wind(p.position, 3);
        p = integrate(p, u_dt);
        break;
    default:
        p.life = 0.0;
    }
    bool dead = p.life <= 0.0 || p.position.y < -10.0;
    p.life = dead ? 0.0 : p.life;
    bvec3 out_of_box = greaterThan(abs(p.position), vec3(100.0));
    if (any(out_of_box) && !dead) {
        p.position = vec3(0.0);
    }
}
