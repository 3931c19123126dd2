#include "syntax/file_kind.h"

#include "syntax/token_kinds.h"

namespace {
struct Ending {
    StringView ending;
    u8 kind;
};
// Tested in order: the first ending that matches decides.
const Ending endings[] = {
    {SV(".vnt"), file_kind_vantrel}, {SV(".cpp"), file_kind_cpp}, {SV(".h"), file_kind_cpp},
    {SV(".hpp"), file_kind_cpp},     {SV(".c"), file_kind_c},     {SV(".glsl"), file_kind_glsl},
};
}  // namespace

u8 file_kind_for_path(StringView path) {
    for (const Ending& e : endings)
        if (ends_with(path, e.ending)) return e.kind;
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
