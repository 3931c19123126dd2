#pragma once
// A program's source is one text with two sections, each introduced by a marker line:
// "#vertex" and "#fragment" (a trailing "\r", spaces or tabs on the marker line are
// allowed). Text before the first marker is ignored; each section runs to the next marker
// or the end.
#include "core/string_view.h"

struct ShaderSections {
    StringView vertex;
    StringView fragment;
    const char* problem;  // null when both sections were found once each
};

ShaderSections shader_split(StringView source);
