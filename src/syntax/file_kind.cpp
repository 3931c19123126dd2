#include "syntax/file_kind.h"

#include "syntax/token_kinds.h"

namespace {
struct Ending {
    StringView ending;
    u8 kind;
};
// Compared without regard to case (".H", ".CPP" and ".GLSL" are the same files).
const Ending endings[] = {
    {SV(".vnt"), file_kind_vantrel}, {SV(".c"), file_kind_c},       {SV(".h"), file_kind_cpp},
    {SV(".cpp"), file_kind_cpp},     {SV(".cc"), file_kind_cpp},    {SV(".cxx"), file_kind_cpp},
    {SV(".c++"), file_kind_cpp},     {SV(".hpp"), file_kind_cpp},   {SV(".hh"), file_kind_cpp},
    {SV(".hxx"), file_kind_cpp},     {SV(".h++"), file_kind_cpp},   {SV(".inl"), file_kind_cpp},
    {SV(".ipp"), file_kind_cpp},     {SV(".tpp"), file_kind_cpp},   {SV(".glsl"), file_kind_glsl},
    {SV(".vert"), file_kind_glsl},   {SV(".frag"), file_kind_glsl}, {SV(".comp"), file_kind_glsl},
    {SV(".geom"), file_kind_glsl},   {SV(".tesc"), file_kind_glsl}, {SV(".tese"), file_kind_glsl},
};

bool ends_with_ignoring_case(StringView path, StringView ending) {
    if (path.length < ending.length) return false;
    const char* tail = path.data + path.length - ending.length;
    for (i64 i = 0; i < ending.length; i++) {
        char c = tail[i];
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
        if (c != ending.data[i]) return false;
    }
    return true;
}
}  // namespace

u8 file_kind_for_path(StringView path) {
    for (const Ending& e : endings)
        if (ends_with_ignoring_case(path, e.ending)) return e.kind;
    return file_kind_other;
}

int language_of_file_kind(u8 kind) {
    switch (kind) {
    case file_kind_other: return language_plain;
    case file_kind_vantrel: return language_vantrel;
    case file_kind_c:
    case file_kind_cpp: return language_cpp;
    case file_kind_glsl: return language_glsl;
    default: return -1;
    }
}
