// resource_generator: makes resources/font.png, resources/font_info.txt and every icon image.
//
//   resource_generator [--font FILE.ttf] [--out DIR] [--no-snap]
//   resource_generator --preview OUT.png TEXT [--scale S] [--magnify N] [--font FILE.ttf] [--no-snap]
//   resource_generator --sheet OUT.png [--font FILE.ttf]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>

#include "font_atlas.h"
#include "font_info.h"
#include "font_preview.h"
#include "icon_sheet.h"
#include "icons.h"

namespace {

const char* kDefaultFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

struct Options {
    std::string font = kDefaultFont;
    std::string out_dir = "resources";
    std::string preview_path, preview_text, sheet_path;
    double scale = 1.0;
    int magnify = 1;
    bool snap = true;
};

bool parse_args(int argc, char** argv, Options* o) {
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        bool has_value = i + 1 < argc;
        if (a == "--font" && has_value) o->font = argv[++i];
        else if (a == "--out" && has_value) o->out_dir = argv[++i];
        else if (a == "--sheet" && has_value) o->sheet_path = argv[++i];
        else if (a == "--scale" && has_value) o->scale = std::atof(argv[++i]);
        else if (a == "--magnify" && has_value) o->magnify = std::max(1, std::atoi(argv[++i]));
        else if (a == "--no-snap") o->snap = false;
        else if (a == "--preview" && i + 2 < argc) {
            o->preview_path = argv[++i];
            o->preview_text = argv[++i];
        } else {
            std::fprintf(stderr, "unknown or incomplete argument: %s\n", a.c_str());
            return false;
        }
    }
    return o->scale > 0;
}

bool file_exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool read_text(const std::string& path, std::string* out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::stringstream ss;
    ss << in.rdbuf();
    *out = ss.str();
    return true;
}

bool write_text(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return bool(out);
}

// Builds the atlas and reads its font_info back the way the editor will. At `density` 2
// every size doubles, atlas included: declared at its real size, the glyphs measure the
// same to the editor, with twice the pixels for a display that draws twice as many.
bool build_font(const Options& o, FontAtlas* atlas, FontInfo* info, int density = 1) {
    FontParams params;
    params.ttf_path = o.font;
    params.snap_stems = o.snap;
    params.atlas_size *= density;
    params.advance_px *= density;
    params.ascent_px *= density;
    params.descent_px *= density;
    if (!build_font_atlas(params, atlas)) return false;
    std::string error;
    if (!parse_font_info(font_info_text(*atlas, "font.png"), info, &error) ||
        !check_font_info(*info, atlas->image, &error)) {
        std::fprintf(stderr, "font_info check failed: %s\n", error.c_str());
        return false;
    }
    return true;
}

void report_font(const FontAtlas& atlas, const FontInfo& info) {
    std::printf("font: %d of %d glyphs placed in a %dx%d atlas, line height %g px, advance %g px\n", atlas.packed,
                atlas.wanted, atlas.image.width, atlas.image.height, info.line_height * info.size,
                info.space_advance * info.size);
    if (!atlas.left_out.empty()) {
        std::printf("  no room for %zu glyphs:", atlas.left_out.size());
        for (int cp : atlas.left_out) std::printf(" U+%04X", cp);
        std::printf("\n");
    }
    if (!atlas.missing.empty()) {
        std::printf("  not in the font:");
        for (int cp : atlas.missing) std::printf(" U+%04X", cp);
        std::printf("\n");
    }
    if (atlas.clipped_rows) std::printf("  %d glyph rows cut off at the line box\n", atlas.clipped_rows);
}

// Writes one atlas and its font_info (`suffix` "" or "@2x") and checks them as written.
int write_font(const Options& o, int density, const std::string& suffix) {
    FontAtlas atlas;
    FontInfo info;
    if (!build_font(o, &atlas, &info, density)) return 1;
    const std::string image_name = "font" + suffix + ".png";
    const std::string info_path = o.out_dir + "/font_info" + suffix + ".txt";
    if (!write_png(o.out_dir + "/" + image_name, atlas.image) || !write_text(info_path, font_info_text(atlas, image_name))) {
        std::fprintf(stderr, "cannot write into %s\n", o.out_dir.c_str());
        return 1;
    }
    // Check the file as written, including that its image resolves next to it.
    std::string text, error;
    FontInfo reread;
    if (!read_text(info_path, &text) || !parse_font_info(text, &reread, &error) ||
        !check_font_info(reread, atlas.image, &error)) {
        std::fprintf(stderr, "%s: %s\n", info_path.c_str(), error.c_str());
        return 1;
    }
    if (!file_exists(reread.image_path) && !file_exists(o.out_dir + "/" + reread.image_path)) {
        std::fprintf(stderr, "%s: atlas %s not found\n", info_path.c_str(), reread.image_path.c_str());
        return 1;
    }
    report_font(atlas, reread);
    return 0;
}

int generate(const Options& o) {
    if (write_font(o, 1, "") != 0 || write_font(o, 2, "@2x") != 0) return 1;
    for (const IconFile& f : icon_files())
        if (!write_png(o.out_dir + "/" + f.name, f.make())) return 1;
    std::printf("images: %zu written to %s/\n", icon_files().size(), o.out_dir.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse_args(argc, argv, &o)) return 2;
    if (o.preview_path.empty() && o.sheet_path.empty()) return generate(o);
    FontAtlas atlas;
    FontInfo info;
    if (!build_font(o, &atlas, &info)) return 1;
    if (!o.preview_path.empty()) {
        report_font(atlas, info);
        Image8 img = render_text_preview(info, atlas.image, o.preview_text, o.scale);
        if (!write_png(o.preview_path, magnify(img, o.magnify))) return 1;
    }
    if (!o.sheet_path.empty() && !write_png(o.sheet_path, make_contact_sheet(info, atlas.image))) return 1;
    return 0;
}
