#pragma once
// What a file is, told by its name: the kind picks the lexer, the palette and the
// analysis of a document.
#include "core/string_view.h"
#include "core/types.h"

enum FileKind : u8 {
    file_kind_none = 0,  // entry fields: never coloured or analysed
    file_kind_other = 1,
    file_kind_vantrel = 2,
    file_kind_c = 3,
    file_kind_cpp = 4,
    file_kind_glsl = 5,
};

// By the name's ending, in any case: ".vnt"; ".c"; ".h", ".cpp", ".cc", ".cxx", ".hpp",
// ".hh", ".hxx", ".inl" and the like; ".glsl" and the shader stages (".vert", ".frag", ...).
u8 file_kind_for_path(StringView path);
// language_vantrel, language_cpp or language_glsl for a source kind, language_plain for
// other files, -1 for none.
int language_of_file_kind(u8 kind);

