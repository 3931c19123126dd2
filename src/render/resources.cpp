#include "render/resources.h"

#include "platform/platform.h"
#include "render/draw_list.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/theme.h"


const char* const icon_paths[icon_count] = {
    "resources/white.png",
    "resources/circle2.png",
    "resources/new.png",
    "resources/open.png",
    "resources/save.png",
    "resources/close.png",
    "resources/minimize.png",
    "resources/maximize2.png",
    "resources/button.png",
    "resources/button_hover.png",
    "resources/button_pressed.png",
    "resources/key.png",
    "resources/lightning.png",
    "resources/cylinder.png",
    "resources/cube.png",
    "resources/octahedron.png",
    "resources/sphere.png",
    "resources/sphere_open.png",
    "resources/sphere_save.png",
    "resources/sphere_save_all.png",
    "resources/cone.png",
    "resources/stone.png",
    "resources/star.png",
    "resources/star3d.png",
    "resources/arrow.png",
    "resources/pyramid.png",
    "resources/triangular_prism.png",
    "resources/pentagonal_prism.png",
    "resources/gradient1.png",
    "resources/gradient2.png",
    "resources/gradient3.png",
    "resources/eye.png",
    "resources/settings.png",
};

u32 texture_load(StringView path, bool repeat, i32* width, i32* height) {
    // Every image may use the whole decoding buffer.
    image_set_buffer_position(0);
    Image image = image_load(path, 4);
    render.frames.resource_generation++;
    u32 texture = texture_create();
    texture_bind(1, texture);
    texture_image_2d(1, 0, 13, image.width, image.height, 8, 0, image.pixels);
    u32 wrap = repeat ? 0 : 2;
    texture_parameter_wrap(1, 0, wrap);
    texture_parameter_wrap(1, 1, wrap);
    texture_parameter_filter(1, 3, 1);
    texture_parameter_filter(1, 4, 0);
    texture_unbind(1);
    if (width) *width = image.width;
    if (height) *height = image.height;
    return texture;
}

void resources_load() {
    for (int i = 0; i < icon_count; i++)
        render.icon_textures[i] = texture_load(sv_from_cstr(icon_paths[i]), false, nullptr, nullptr);
    font_load();
    if (render.theme.background_path.length > 0)
        render.background_texture = texture_load(render.theme.background_path, true, &render.background_width, &render.background_height);
}

void resources_destroy() {
    // Quads still in the draw list may name these textures.
    draw_list_submit();
    for (int i = 0; i < icon_count; i++) {
        if (render.icon_textures[i] != 0) texture_destroy(render.icon_textures[i]);
        render.icon_textures[i] = 0;
    }
    if (render.background_texture != 0) texture_destroy(render.background_texture);
    render.background_texture = 0;
    render.background_width = render.background_height = 0;
    if (render.font.texture != 0) texture_destroy(render.font.texture);
    render.font.texture = 0;
}

StringView icon_base_name(u32 texture) {
    if (texture == 0) return StringView{nullptr, 0};
    for (int i = 0; i < icon_count; i++) {
        if (render.icon_textures[i] != texture) continue;
        StringView path = sv_from_cstr(icon_paths[i]);
        i64 slash = sv_last_index(path, '/');
        i64 dot = sv_last_index(path, '.');
        if (dot <= slash) dot = path.length;
        return sv_slice(path, slash + 1, dot);
    }
    return StringView{nullptr, 0};
}
