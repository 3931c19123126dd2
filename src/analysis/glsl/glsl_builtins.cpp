// The names every GLSL shader can use without declaring them. Type names are not lexer
// keywords: they get their colour from these symbols.
#include "analysis/glsl/glsl_semantic.h"
#include "analysis/symbols.h"

const StringView glsl_builtin_types[glsl_builtin_type_count] = {
    SV("void"),      SV("float"),     SV("vec2"),           SV("vec3"),          SV("vec4"),   SV("mat2"),
    SV("mat3"),      SV("mat4"),      SV("mat2x3"),         SV("mat2x4"),        SV("mat3x4"), SV("mat3x2"),
    SV("mat4x2"),    SV("mat4x3"),    SV("int"),            SV("uint"),          SV("ivec2"),  SV("ivec3"),
    SV("ivec4"),     SV("uvec2"),     SV("uvec3"),          SV("uvec4"),         SV("bool"),   SV("bvec2"),
    SV("bvec3"),     SV("bvec4"),     SV("sampler1D"),      SV("sampler2D"),     SV("sampler3D"),
    SV("samplerCube"), SV("sampler1DArray"), SV("sampler2DArray"),
};

const StringView glsl_builtin_variables[glsl_builtin_variable_count] = {
    SV("gl_Position"), SV("gl_ClipDistance"), SV("gl_FragCoord"),
    SV("gl_FragDepth"), SV("gl_PointCoord"),  SV("gl_PointSize"),
};

const StringView glsl_builtin_functions[glsl_builtin_function_count] = {
    SV("cos"),         SV("cosh"),          SV("sin"),          SV("sinh"),
    SV("tan"),         SV("tanh"),          SV("pow"),          SV("exp"),
    SV("abs"),         SV("clamp"),         SV("sqrt"),         SV("min"),
    SV("max"),         SV("mix"),           SV("log"),          SV("log2"),
    SV("mod"),         SV("trunc"),         SV("transpose"),    SV("inverse"),
    SV("determinant"), SV("outerProduct"),  SV("faceforward"),  SV("sign"),
    SV("not"),         SV("notEqual"),      SV("greaterThanEqual"), SV("greaterThan"),
    SV("lessThanEqual"), SV("lessThan"),    SV("degrees"),      SV("radians"),
    SV("round"),       SV("ceil"),          SV("floor"),        SV("fract"),
    SV("distance"),    SV("dFdx"),          SV("dFdy"),         SV("acos"),
    SV("acosh"),       SV("asin"),          SV("asinh"),        SV("atan"),
    SV("atanh"),       SV("any"),           SV("all"),          SV("step"),
    SV("smoothstep"),  SV("reflect"),       SV("refract"),      SV("dot"),
    SV("cross"),       SV("length"),        SV("normalize"),    SV("texture"),
    SV("textureLod"),  SV("textureGrad"),   SV("textureOffset"), SV("textureProj"),
    SV("texelFetch"),  SV("texture1D"),     SV("texture2D"),    SV("texture3D"),
};

void glsl_declare_builtins(AnalysisResult* result) {
    for (StringView name : glsl_builtin_types) declare_symbol(result, symbol_builtin_type, 0, 0, 0, name);
    for (StringView name : glsl_builtin_variables) declare_symbol(result, symbol_builtin_variable, 0, 0, 0, name);
    for (StringView name : glsl_builtin_functions) declare_symbol(result, symbol_builtin_function, 0, 0, 0, name);
}
