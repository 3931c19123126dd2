// PNG decoding with stb_image; all memory comes from the buffer given to image_set_buffer.
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "platform/posix/path_buffer.h"

namespace {
u8* decode_buffer;
i64 decode_capacity;
i64 decode_position;

void* decode_alloc(size_t size) {
    i64 start = (decode_position + 15) & ~(i64)15;
    // A 16-byte header before each block records its size for realloc.
    if (!decode_buffer || start + 16 + (i64)size > decode_capacity) return nullptr;
    *(i64*)(decode_buffer + start) = (i64)size;
    decode_position = start + 16 + (i64)size;
    return decode_buffer + start + 16;
}

void* decode_realloc(void* old, size_t size) {
    if (!old) return decode_alloc(size);
    i64 old_size = *(i64*)((u8*)old - 16);
    if ((u8*)old + old_size == decode_buffer + decode_position && (u8*)old - decode_buffer + (i64)size <= decode_capacity) {
        *(i64*)((u8*)old - 16) = (i64)size;
        decode_position = (u8*)old - decode_buffer + (i64)size;
        return old;
    }
    void* fresh = decode_alloc(size);
    if (fresh) memcpy(fresh, old, (size_t)(old_size < (i64)size ? old_size : (i64)size));
    return fresh;
}

void decode_free(void*) {}
}  // namespace

#define STBI_MALLOC(size) decode_alloc(size)
#define STBI_REALLOC(pointer, size) decode_realloc(pointer, size)
#define STBI_FREE(pointer) decode_free(pointer)
#define STBI_ONLY_PNG
#define STBI_NO_STDIO_UNUSED
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#include <stb_image.h>
#pragma GCC diagnostic pop

void image_set_buffer(i64 size, void* memory) {
    decode_buffer = (u8*)memory;
    decode_capacity = memory ? size : 0;
    decode_position = 0;
}

void image_set_buffer_position(i64 position) { decode_position = position; }

void image_set_flip(bool flip) { stbi_set_flip_vertically_on_load(flip ? 1 : 0); }

Image image_load(StringView path, i32 channels) {
    Image image{};
    PathBuffer p = make_path(path);
    if (!p.ok || !decode_buffer) return image;
    // Opened like every file read (regular files only, a FIFO never blocks).
    FileHandle file = file_open(path, file_mode_read);
    if (file_failed(file)) return image;
    FILE* stream = fdopen((int)file.fd, "rb");
    if (!stream) {
        file_close(file);
        return image;
    }
    int w = 0, h = 0, n = 0;
    stbi_uc* pixels = stbi_load_from_file(stream, &w, &h, &n, channels);
    fclose(stream);
    if (!pixels) return image;
    image.pixels = pixels;
    image.width = w;
    image.height = h;
    return image;
}
