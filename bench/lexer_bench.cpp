// Lexing throughput on large generated sources, with and without tokens and colours.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "memory/arena.h"
#include "syntax/lexer.h"
#include "syntax/token_kinds.h"

namespace {

const char c_sample[] = R"(#include <stdio.h>
#include "buffer.h"

/* A growable byte buffer with a small inline store. The store is used until the
   first append that does not fit; after that every growth doubles. */
typedef struct Buffer {
    unsigned char* data;
    size_t count, capacity;
    unsigned char inline_store[64];
} Buffer;

static const double growth_factor = 2.0;  // measured: 1.5 gave no gain
#define BUFFER_LIMIT (1ul << 30)

int buffer_append(Buffer* b, const void* bytes, size_t n) {
    if (n == 0) return 0;
    if (b->count + n > b->capacity) {
        size_t wanted = b->capacity ? b->capacity : 16;
        while (wanted < b->count + n) wanted = (size_t)(wanted * growth_factor);
        if (wanted > BUFFER_LIMIT) {
            fprintf(stderr, "buffer: %zu bytes wanted\n", wanted);
            return -1;
        }
        unsigned char* fresh = realloc(b->data == b->inline_store ? NULL : b->data, wanted);
        if (!fresh) return -1;
        b->data = fresh;
        b->capacity = wanted;
    }
    memcpy(b->data + b->count, bytes, n);
    b->count += n;
    return b->count >= 0x7FFFFFFF ? 1 : 0;
}

float mix(float a, float b, float t) { return a + (b - a) * t * 0.5f; }

void buffer_reset(Buffer* b) {
    for (size_t i = 0; i < b->count; ++i) b->data[i] = '\0';
    b->count = 0;
}
)";

const char vantrel_sample[] = R"(// A growable byte buffer.
Buffer :: struct {
    data: *byte;
    count: int;
    capacity: int;
}

/* Doubling growth. /* Nested comments are allowed. */ */
append :: proc (b: *Buffer, bytes: *byte, n: int) -> bool {
    if n == 0 { return true; }
    if b.count + n > b.capacity {
        wanted := b.capacity;
        while wanted < b.count + n { wanted = wanted * 2 + 16; }
        b.data = grow(b.data, wanted);
        b.capacity = wanted;
    }
    copy(b.data + b.count, bytes, n);
    b.count += n;
    print("appended %d bytes\n", n);
    return b.count < 0x7FFF_FFFF && 1.5e3 > 0.0;
}
)";

const char glsl_sample[] = R"(#version 330 core
layout(location = 0) in vec3 position;
uniform mat4 projection;
uniform float time;
out vec4 colour;

/* Waves along x. */
float wave(float x) { return sin(x * 3.0 + time) * 0.25f; }

void main() {
    vec3 p = position;
    p.y += wave(p.x);  // displace
    if (p.y > 1.0 ^^ p.x < 0.0) discard;
    gl_Position = projection * vec4(p, 1.0);
    colour = vec4(0.5, 0.75, 1.0, 1.0);
}
)";

struct Input {
    std::string text;
    u8* colours;
};

Input& input(const char* sample, i64 bytes) {
    static Input inputs[3];
    static const char* samples[3];
    int slot = 0;
    while (slot < 3 && samples[slot] && samples[slot] != sample) slot++;
    Input& in = inputs[slot];
    if (samples[slot] != sample) {
        samples[slot] = sample;
        while ((i64)in.text.size() < bytes) in.text += sample;
        in.colours = new u8[in.text.size()];
    }
    return in;
}

enum BenchLanguage { bench_vantrel, bench_c, bench_cpp, bench_glsl };

template <BenchLanguage Language>
void run_lexer(benchmark::State& state, const char* sample, bool with_tokens, bool with_colours) {
    static Lexer lexer{};
    if (!arenas_reserved()) arenas_reserve();
    if (!lexer.keywords) {
        lexer_build_keywords(&lexer, Language == bench_vantrel ? language_vantrel
                                     : Language == bench_glsl  ? language_glsl
                                                               : language_cpp);
    }
    Input& in = input(sample, 16 << 20);
    Array<Token> tokens{};
    for (auto _ : state) {
        pool_reset(pool_parser);
        tokens = Array<Token>{nullptr, 0, 0, pool_parser};
        lexer.text = StringView{in.text.data(), (i64)in.text.size()};
        lexer.colours = with_colours ? &in.colours : nullptr;
        lexer.tokens = with_tokens ? &tokens : nullptr;
        if (Language == bench_vantrel) lex_vantrel(&lexer, 0, -1);
        else if (Language == bench_glsl) lex_glsl(&lexer, 0, -1);
        else lex_cpp(&lexer, Language == bench_c, 0, -1);
        benchmark::DoNotOptimize(tokens.count);
        benchmark::DoNotOptimize(in.colours[in.text.size() / 2]);
    }
    state.SetBytesProcessed((i64)state.iterations() * (i64)in.text.size());
    state.counters["tokens"] = (double)tokens.count;
}

void lex_c_tokens_and_colours(benchmark::State& s) { run_lexer<bench_c>(s, c_sample, true, true); }
void lex_cpp_tokens_and_colours(benchmark::State& s) { run_lexer<bench_cpp>(s, c_sample, true, true); }
void lex_cpp_colours_only(benchmark::State& s) { run_lexer<bench_cpp>(s, c_sample, false, true); }
void lex_cpp_tokens_only(benchmark::State& s) { run_lexer<bench_cpp>(s, c_sample, true, false); }
void lex_vantrel_tokens_and_colours(benchmark::State& s) { run_lexer<bench_vantrel>(s, vantrel_sample, true, true); }
void lex_glsl_tokens_and_colours(benchmark::State& s) { run_lexer<bench_glsl>(s, glsl_sample, true, true); }

BENCHMARK(lex_c_tokens_and_colours)->Unit(benchmark::kMillisecond);
BENCHMARK(lex_cpp_tokens_and_colours)->Unit(benchmark::kMillisecond);
BENCHMARK(lex_cpp_colours_only)->Unit(benchmark::kMillisecond);
BENCHMARK(lex_cpp_tokens_only)->Unit(benchmark::kMillisecond);
BENCHMARK(lex_vantrel_tokens_and_colours)->Unit(benchmark::kMillisecond);
BENCHMARK(lex_glsl_tokens_and_colours)->Unit(benchmark::kMillisecond);

}  // namespace
