// Splitting a program's text into its vertex and fragment sections.
#include "platform/sdl_gl/shader_text.h"

namespace {
enum Marker { marker_none, marker_vertex, marker_fragment };

Marker marker_of_line(StringView line) {
    i64 end = line.length;
    while (end > 0 && (line.data[end - 1] == '\r' || line.data[end - 1] == ' ' || line.data[end - 1] == '\t')) end--;
    StringView trimmed = StringView{line.data, end};
    if (sv_equal(trimmed, SV("#vertex"))) return marker_vertex;
    if (sv_equal(trimmed, SV("#fragment"))) return marker_fragment;
    return marker_none;
}
}  // namespace

ShaderSections shader_split(StringView source) {
    ShaderSections sections = {{nullptr, 0}, {nullptr, 0}, nullptr};
    StringView* open_section = nullptr;
    bool seen_vertex = false, seen_fragment = false;
    i64 position = 0;
    while (position < source.length) {
        i64 line_end = position;
        while (line_end < source.length && source.data[line_end] != '\n') line_end++;
        i64 next = line_end < source.length ? line_end + 1 : line_end;
        Marker marker = marker_of_line(sv_slice(source, position, line_end));
        if (marker != marker_none) {
            if (open_section) open_section->length = position - (open_section->data - source.data);
            bool* seen = marker == marker_vertex ? &seen_vertex : &seen_fragment;
            if (*seen) {
                sections.problem = marker == marker_vertex ? "two #vertex sections" : "two #fragment sections";
                return sections;
            }
            *seen = true;
            open_section = marker == marker_vertex ? &sections.vertex : &sections.fragment;
            *open_section = StringView{source.data + next, 0};
        }
        position = next;
    }
    if (open_section) open_section->length = source.length - (open_section->data - source.data);
    if (!seen_vertex) sections.problem = "no #vertex section";
    else if (!seen_fragment) sections.problem = "no #fragment section";
    return sections;
}
