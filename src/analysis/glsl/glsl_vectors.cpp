// The members of values of built-in types: a vector's components and their swizzles.
// Nothing else built in has members, so after any other built-in type nothing is offered.
#include "analysis/glsl/glsl_semantic.h"

namespace {
const char* const component_sets[3] = {"xyzw", "rgba", "stpq"};
// Element types by the prefix of a vector type's name ("", "d", "b", "i", "u").
const char vector_prefixes[] = "dbiu";
const StringView scalar_names[5] = {SV("float"), SV("double"), SV("bool"), SV("int"), SV("uint")};

struct VectorShape {
    i32 element;  // index into scalar_names
    i32 size;     // 2 to 4; 0: no vector
};

VectorShape shape_of(TypeInfo type) {
    if (type.kind != symbol_builtin_type || type.index < 0 || type.index >= glsl_builtin_type_count) return {0, 0};
    StringView name = glsl_builtin_types[type.index];
    i32 element = 0;
    i64 at = 0;
    for (i32 i = 0; i < 4; i++)
        if (name.length == 5 && name.data[0] == vector_prefixes[i]) element = i + 1, at = 1;
    if (name.length != at + 4 || !sv_equal(sv_slice(name, at, at + 3), SV("vec"))) return {0, 0};
    char digit = name.data[at + 3];
    return digit >= '2' && digit <= '4' ? VectorShape{element, digit - '0'} : VectorShape{0, 0};
}

// The type `count` components of a vector of `shape` make: its scalar for one, else a
// vector of that many elements.
TypeInfo swizzle_type(VectorShape shape, i64 count) {
    if (count == 1) return glsl_builtin_type_named(scalar_names[shape.element]);
    char name[6];
    i64 n = 0;
    if (shape.element > 0) name[n++] = vector_prefixes[shape.element - 1];
    name[n++] = 'v', name[n++] = 'e', name[n++] = 'c';
    name[n++] = (char)('0' + count);
    return glsl_builtin_type_named(StringView{name, n});
}

// The number of components `text` selects from a vector of `size` elements, 0 when it is
// no swizzle of it: one to four letters of one set, each within the size.
i64 swizzle_count(StringView text, i32 size) {
    if (text.length < 1 || text.length > 4) return 0;
    for (const char* set : component_sets) {
        i64 taken = 0;
        for (i64 i = 0; i < text.length; i++) {
            bool found = false;
            for (i32 k = 0; k < size; k++) found |= set[k] == text.data[i];
            if (!found) break;
            taken++;
        }
        if (taken == text.length) return taken;
    }
    return 0;
}

i32 component_scope(GlslAnalysis* a, i32 size) {
    i32* scope = &a->component_scopes[size - 2];
    if (*scope > 0) return *scope;
    // Outside every text (start and end -1): no place in the document lies in it.
    *scope = (i32)open_scope(a->result, 0, SV("components"), -1, -1);
    for (const char* set : component_sets)
        for (i32 k = 0; k < size; k++) declare_symbol(a->result, symbol_member, 0, -1, *scope, StringView{set + k, 1});
    return *scope;
}
}  // namespace

TypeInfo glsl_builtin_member_access(GlslAnalysis* a, TypeInfo type, i64 op, i64 name, bool note_range) {
    VectorShape shape = shape_of(type);
    if (note_range) {
        const Token& op_token = token_at(&a->p, op);
        i64 start = op_token.offset + op_token.length;
        i64 end = name >= 0 ? token_at(&a->p, name).offset + token_at(&a->p, name).length : start;
        i32 target = shape.size ? component_scope(a, shape.size) : -1;
        array_append(&a->result->cursor_ranges, CursorRange{(i32)start, (i32)end, target, 0});
    }
    if (!shape.size || name < 0) return no_type;
    const Token& t = token_at(&a->p, name);
    i64 count = t.code == token_identifier ? swizzle_count(text_of(&a->p, t), shape.size) : 0;
    return count ? swizzle_type(shape, count) : no_type;
}
