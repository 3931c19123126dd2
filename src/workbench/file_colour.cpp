// The colour a file's name is drawn in (tree, tabs, file dialogs): its kind's theme colour.
#include "render/renderer.h"
#include "render/theme.h"
#include "syntax/file_kind.h"
#include "workbench/workbench_state.h"

Color file_color_for_path(StringView path) {
    switch (file_kind_for_path(path)) {
    case file_kind_vantrel: return render.theme.vantrel_file_color;
    case file_kind_c: return render.theme.c_file_color;
    case file_kind_cpp: return render.theme.cpp_file_color;
    case file_kind_glsl: return render.theme.glsl_file_color;
    default: return render.theme.text_file_color;
    }
}
