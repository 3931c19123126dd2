// The whole GLSL pass: the built-in table, colours of names by what they name, member
// access through struct scopes, the outline, signatures and cursor ranges, isolation
// from the project's other files, and inputs that must merely finish.
#include "editor/symbol_look.h"
#include "render/renderer.h"
#include "syntax/syntax_state.h"
#include "glsl_analysis_harness.h"

using namespace glsl_test;

TEST(GlslBuiltins, DeclaredFirstInTheRootScopeInTableOrder) {
    CppRun run = analyse("");
    const Array<Symbol>& root = run.job.result->scopes[0].members;
    i64 total = glsl_builtin_type_count + glsl_builtin_variable_count + glsl_builtin_function_count;
    ASSERT_EQ(total, 500);
    ASSERT_EQ(root.count, total);
    for (i64 i = 0; i < total; i++) {
        const Symbol& s = root[i];
        i64 v = i - glsl_builtin_type_count, f = v - glsl_builtin_variable_count;
        StringView expected = i < glsl_builtin_type_count       ? glsl_builtin_types[i]
                              : v < glsl_builtin_variable_count ? glsl_builtin_variables[v]
                                                                : glsl_builtin_functions[f];
        u8 kind = i < glsl_builtin_type_count ? symbol_builtin_type
                  : v < glsl_builtin_variable_count ? symbol_builtin_variable
                                                    : symbol_builtin_function;
        EXPECT_EQ(str(s.name), str(expected)) << i;
        EXPECT_EQ(s.kind, kind) << i;
        EXPECT_EQ(s.flag, 0);
        if (i < glsl_builtin_type_count) {
            EXPECT_EQ(s.value, i) << i;  // a type: its index in the table
        } else if (kind == symbol_builtin_function) {
            EXPECT_EQ(s.value, 0) << i;
        }
        EXPECT_EQ(s.scope, 0);
    }
    EXPECT_EQ(str(root[0].name), "void");
    // The table holds the whole of GLSL 4.60 and GLSL ES 3.20, not only the common names.
    const char* names[] = {"gl_FragColor", "gl_VertexID", "gl_InstanceID", "gl_VertexIndex", "gl_GlobalInvocationID",
                           "gl_WorkGroupSize", "gl_MaxComputeWorkGroupSize", "textureSize", "texelFetch",
                           "imageAtomicCompSwap", "atomicCounterIncrement", "memoryBarrierShared", "packHalf2x16",
                           "bitfieldExtract", "noise4", "dFdxFine", "usampler2DArray", "samplerCubeArrayShadow",
                           "isamplerBuffer", "sampler2DMSArray", "iimage2D", "uimageCubeArray", "dmat4x3"};
    for (const char* name : names) EXPECT_NE(symbol_in(run, 0, name), nullptr) << name;
    EXPECT_EQ(str(root[119].name), "uimage2DMSArray");
    EXPECT_EQ(str(root[120].name), "gl_VertexID");
    EXPECT_EQ(str(root[499].name), "allInvocationsEqual");
    EXPECT_EQ(run.job.result->outline.count, 0);
    EXPECT_EQ(run.job.result->signatures.count, 0);
    // The kind tables follow the GLSL palette.
    EXPECT_EQ(symbol_kind_icon(run.job.result, symbol_builtin_type), render.icon_textures[icon_cube]);
    EXPECT_EQ(symbol_kind_colour(run.job.result, symbol_builtin_function).r, syntax.glsl_palette[glsl_kind_proc].r);
    EXPECT_EQ(symbol_kind_icon(run.job.result, symbol_enum), 0u);
}

TEST(GlslSemantic, DeclarationWithABuiltinTypeAndABuiltinCall) {
    CppRun run = analyse(
        "vec3 v = normalize(x);\n"
        "void main() { vec3 w = normalize(v); }\n");
    EXPECT_EQ(colour_of(run, "vec3", 0), glsl_kind_type_keyword);
    EXPECT_EQ(colour_of(run, "v", 0), glsl_kind_global_var);
    EXPECT_EQ(colour_of(run, "normalize", 0), glsl_kind_proc);
    EXPECT_EQ(colour_of(run, "x"), glsl_kind_default);  // unresolved: the lexer's colour
    EXPECT_EQ(colour_of(run, "void"), glsl_kind_type_keyword);
    EXPECT_EQ(colour_of(run, "vec3", 1), glsl_kind_type_keyword);
    EXPECT_EQ(colour_of(run, "w"), glsl_kind_local_var);
    EXPECT_EQ(colour_of(run, "normalize", 1), glsl_kind_proc);
    EXPECT_EQ(colour_of(run, "v", 1), glsl_kind_global_var);
    // A call of a built-in offers no signature.
    for (const CursorRange& c : run.job.result->cursor_ranges) EXPECT_FALSE(c.is_call);
}

TEST(GlslSemantic, UserFunctionNamedLikeABuiltinKeepsTheBuiltinEntry) {
    CppRun run = analyse(
        "float length(vec3 v) { return sqrt(dot(v, v)); }\n"
        "void main() { float d = length(vec3(1.0)); }\n");
    const Symbol* s = symbol_in(run, 0, "length");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->kind, symbol_builtin_function);
    EXPECT_EQ(s->value, 0);
    EXPECT_EQ(colour_of(run, "length", 0), glsl_kind_proc);
    EXPECT_EQ(colour_of(run, "length", 1), glsl_kind_proc);
    // The use resolved to the built-in, so it offers no signature of the user function.
    for (const CursorRange& c : run.job.result->cursor_ranges) EXPECT_FALSE(c.is_call);
    // The user function still has its row, its scope with the parameter, and its signature.
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cylinder length", "0 cylinder main"}));
    i64 scope = scope_starting_at(run, run.text.find("{ return sqrt"));
    ASSERT_GE(scope, 1);
    ASSERT_TRUE(symbol_in(run, (i32)scope, "v"));
    EXPECT_EQ(symbol_in(run, (i32)scope, "v")->kind, symbol_parameter);
    ASSERT_EQ(run.job.result->signatures.count, 2);
    EXPECT_EQ(str(run.job.result->signatures[0].text), "float length(vec3 v)");
}

TEST(GlslSemantic, FragCoordIsAGlobalAndSwizzlesKeepTheLexerColour) {
    CppRun run = analyse(
        "struct Light { vec3 color; float xy; };\n"
        "uniform Light light;\n"
        "void main() {\n"
        "  vec2 p = gl_FragCoord.xy;\n"
        "  vec3 c = light.color.rgb * vec3(1.0).x;\n"
        "  gl_Position = vec4(p, light.xy, 1.0);\n"
        "}\n");
    EXPECT_EQ(colour_of(run, "gl_FragCoord"), glsl_kind_global_var);
    EXPECT_EQ(colour_of(run, "xy", 1), glsl_kind_default);  // no struct scope behind it
    EXPECT_EQ(colour_of(run, "light", 1), glsl_kind_global_var);
    EXPECT_EQ(colour_of(run, "color", 1), glsl_kind_member_var);
    EXPECT_EQ(colour_of(run, "rgb"), glsl_kind_default);
    EXPECT_EQ(colour_of(run, "x"), glsl_kind_default);
    EXPECT_EQ(colour_of(run, "gl_Position"), glsl_kind_global_var);
    EXPECT_EQ(colour_of(run, "xy", 2), glsl_kind_member_var);  // a real member of that name
    const Symbol* s = symbol_in(run, 0, "gl_FragCoord");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->kind, symbol_builtin_variable);
    // Built-in vectors are typed: their "." offers the components, as a declared vec4's does.
    i32 after_frag = (i32)run.text.find("gl_FragCoord.") + 13;
    i32 frag_target = -2;
    for (const CursorRange& c : run.job.result->cursor_ranges)
        if (!c.is_call && c.start == after_frag) frag_target = c.target;
    ASSERT_GT(frag_target, 0) << "gl_FragCoord's components";
    EXPECT_EQ(str(run.job.result->scopes[frag_target].name), "components");
    EXPECT_EQ(run.job.result->scopes[frag_target].members.count, 12) << "xyzw, rgba, stpq";
    // Member access through a struct offers its members at the ".".
    i64 member = scope_named(run, "Light");
    bool offered = false;
    for (const CursorRange& c : run.job.result->cursor_ranges)
        if (!c.is_call && c.target == member && c.start == (i32)run.text.find(".color") + 1) offered = true;
    EXPECT_TRUE(offered);
    // (a new run: the results above are gone)
    CppRun position = analyse("void main() { gl_Position.xy = vec2(0.0); float n = gl_Normal.z; int i = gl_VertexID; }\n");
    bool position_offered = false;
    for (const CursorRange& c : position.job.result->cursor_ranges)
        if (!c.is_call && c.start == (i32)position.text.find("gl_Position.") + 12 && c.target > 0) position_offered = true;
    EXPECT_TRUE(position_offered);
}

TEST(GlslSemantic, VariablesByPlace) {
    CppRun run = analyse(
        "float g;\n"
        "struct S { float m; };\n"
        "float f(float p) {\n"
        "  g = p;\n"
        "  { float g = 2.0; g++; { g--; } }\n"
        "  for (int i = 0; i < 3; i++) { g += float(i); }\n"
        "  return g;\n"
        "}\n");
    EXPECT_EQ(colour_of(run, "g", 0), glsl_kind_global_var);
    EXPECT_EQ(colour_of(run, "m"), glsl_kind_member_var);
    EXPECT_EQ(colour_of(run, "p", 0), glsl_kind_parameter_var);
    EXPECT_EQ(colour_of(run, "g", 1), glsl_kind_global_var);
    EXPECT_EQ(colour_of(run, "p", 1), glsl_kind_parameter_var);
    EXPECT_EQ(colour_of(run, "g", 2), glsl_kind_local_var);
    EXPECT_EQ(colour_of(run, "g", 3), glsl_kind_local_var);
    EXPECT_EQ(colour_of(run, "g", 4), glsl_kind_local_var);  // a nested block sees it
    EXPECT_EQ(colour_of(run, "g", 5), glsl_kind_global_var);  // outside the block again
    EXPECT_EQ(colour_of(run, "i", 3), glsl_kind_local_var);
    EXPECT_EQ(colour_of(run, "g", 6), glsl_kind_global_var);
    // The function and its blocks open scopes named by the document's path, their braces as extent.
    const Array<Scope>& scopes = run.job.result->scopes;
    i64 function_scope = scope_starting_at(run, run.text.find("{\n  g = p"));
    ASSERT_GE(function_scope, 1);
    EXPECT_EQ(str(scopes[function_scope].name), "shader.glsl");
    i64 block = scope_starting_at(run, run.text.find("{ float g"));
    ASSERT_GE(block, 1);
    EXPECT_EQ(scopes[block].parent, (u32)function_scope);
    EXPECT_EQ(scopes[block].start, (i32)run.text.find("{ float g"));
    EXPECT_TRUE(symbol_in(run, (i32)block, "g"));
    EXPECT_FALSE(symbol_in(run, (i32)function_scope, "g"));
}

TEST(GlslSemantic, OutlineOfStructsFunctionsAndGlobals) {
    CppRun run = analyse(
        "struct Light { vec3 position; float a, b; };\n"
        "struct Material;\n"
        "struct Other { float c; };\n"
        "uniform Light lights[4];\n"
        "float shade(Light l);\n"
        "void main() { float local; }\n");
    EXPECT_EQ(outline(run), (std::vector<std::string>{
                                "0 cube Light", "1 sphere position", "1 sphere a", "1 sphere b", "0 end",
                                "0 cube Material", "0 cube Other", "1 sphere c", "0 end", "0 sphere lights",
                                "0 cylinder shade", "0 cylinder main"}));
    const Array<OutlineRow>& rows = run.job.result->outline;
    EXPECT_EQ(rows[0].line, 0);
    EXPECT_EQ(rows[9].line, 3);
    EXPECT_EQ(rows[1].token_kind, glsl_kind_member_var);
    EXPECT_EQ(rows[11].token_kind, glsl_kind_proc);
    EXPECT_EQ(colour_of(run, "Light", 1), glsl_kind_struct);
    EXPECT_EQ(colour_of(run, "Light", 2), glsl_kind_struct);
    EXPECT_FALSE(symbol_in(run, 0, "Material"));  // a forward declaration declares nothing
}

TEST(GlslSemantic, PrototypeAndDefinitionOfferOneSignature) {
    CppRun run = analyse(
        "float f(float x);\n"
        "void main() { float y = f(2.0); }\n"
        "float f(float x) { return x * 2.0; }\n");
    const Array<Signature>& sigs = run.job.result->signatures;
    ASSERT_EQ(sigs.count, 3);
    EXPECT_EQ(str(sigs[0].text), "float f(float x)");
    EXPECT_EQ(sigs[0].colours.length, sigs[0].text.length);
    ASSERT_EQ(sigs[0].overloads.count, 1);
    EXPECT_EQ(sigs[0].overloads[0], 2);  // the definition's
    EXPECT_EQ(str(sigs[1].text), "void main()");
    bool call = false;
    for (const CursorRange& c : run.job.result->cursor_ranges)
        if (c.is_call && c.target == 0 && c.start == (i32)run.text.find("2.0)")) call = true;
    EXPECT_TRUE(call);
    EXPECT_EQ(colour_of(run, "x", 2), glsl_kind_parameter_var);
}

TEST(GlslSemantic, StorageWordsLayoutsQualifiersAndPrecision) {
    CppRun run = analyse(
        "precision highp float;\n"
        "const int count = 4;\n"
        "layout(location = count) out vec4 colour;\n"
        "void f(inout vec3 n, const in float s) { n *= s; }\n");
    EXPECT_EQ(colour_of(run, "float", 0), glsl_kind_type_keyword);
    EXPECT_EQ(colour_of(run, "count", 0), glsl_kind_global_var);
    EXPECT_EQ(colour_of(run, "count", 1), glsl_kind_global_var);  // a layout value is resolved
    EXPECT_EQ(colour_of(run, "colour"), glsl_kind_global_var);
    EXPECT_EQ(colour_of(run, "n", 1), glsl_kind_parameter_var);
    EXPECT_EQ(colour_of(run, "s", 1), glsl_kind_parameter_var);
    EXPECT_EQ(colour_of(run, "const"), glsl_kind_default);
    EXPECT_EQ(colour_of(run, "location"), glsl_kind_default);
    EXPECT_EQ(symbol_in(run, 0, "float")->kind, symbol_builtin_type);
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 sphere count", "0 sphere colour", "0 cylinder f"}));
}

TEST(GlslSemantic, InterfaceBlocksAndUnnamedStructs) {
    CppRun run = analyse(
        "uniform Camera { mat4 view; } camera;\n"
        "uniform Globals { float time; };\n"
        "struct { float loose; }\n"
        "void main() { gl_Position = camera.view * vec4(time, loose, 0.0, 1.0); }\n");
    EXPECT_EQ(colour_of(run, "Camera"), glsl_kind_struct);
    EXPECT_EQ(colour_of(run, "view", 1), glsl_kind_member_var);
    EXPECT_EQ(colour_of(run, "camera", 1), glsl_kind_global_var);
    EXPECT_EQ(colour_of(run, "time", 1), glsl_kind_global_var);
    EXPECT_EQ(colour_of(run, "loose", 1), glsl_kind_global_var);
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cube Camera", "1 sphere view", "0 end", "0 sphere camera",
                                                      "0 sphere time", "0 sphere loose", "0 cylinder main"}));
}

TEST(GlslSemantic, NoDeclarationsFromOtherProjectFiles) {
    cpp_test::setup();
    cpp_test::set_project_files({{"other.glsl", "struct Other { float a; };\nfloat shared_value;\n"},
                                 {"shader.glsl", "float stale;"}});
    CppRun run = analyse("Other o;\nfloat f() { return shared_value + stale; }\n");
    cpp_test::set_project_files({});
    EXPECT_EQ(colour_of(run, "Other"), glsl_kind_default);
    EXPECT_EQ(colour_of(run, "shared_value"), glsl_kind_default);
    EXPECT_EQ(colour_of(run, "stale"), glsl_kind_default);
    EXPECT_FALSE(symbol_in(run, 0, "Other"));
    EXPECT_FALSE(symbol_in(run, 0, "shared_value"));
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 sphere o", "0 cylinder f"}));
}

namespace {
std::string repeat(const std::string& s, int n) {
    std::string out;
    out.reserve(s.size() * (size_t)n);
    for (int i = 0; i < n; i++) out += s;
    return out;
}
}  // namespace

// These run on the test thread (8 MB of stack): nesting is cut off at max_nesting_depth.
TEST(GlslDeepNesting, HundredThousandLevelsFinishAndLaterItemsStillParse) {
    const int n = 100000;
    std::vector<std::string> inputs = {
        "float x = " + repeat("(", n) + "1.0" + repeat(")", n) + "; float after;",
        "void f() " + repeat("{", n) + repeat("}", n) + " float after;",
        "float x = " + repeat("-", n) + "1.0; float after;",
        "void f() { a" + repeat(" = a", n) + "; } float after;",
        "void f() { " + repeat("if (a) ", n) + "b; } float after;",
        "float x = a" + repeat(" ? b : a", n) + "; float after;",
        repeat("struct A {", n) + repeat("}", n) + " float after;",
        "float x = f" + repeat("(f", n) + repeat(")", n) + "; float after;",
        "float x = a" + repeat("[a", n) + repeat("]", n) + "; float after;",
        "void f() { " + repeat("for (;;) ", n) + "b; } float after;",
        "void f() { " + repeat("do ", n) + "b;" + repeat(" while (a);", n) + " } float after;",
    };
    for (size_t i = 0; i < inputs.size(); i++) {
        CppRun run = analyse(inputs[i]);
        EXPECT_EQ(colour_of(run, "after"), glsl_kind_global_var) << "input " << i;
    }
}

TEST(GlslDeepNesting, UnclosedOpenersAndLongFlatChainsFinish) {
    const int n = 100000;
    std::vector<std::string> inputs = {
        repeat("(", n) + repeat("{", n) + repeat("[", n),
        "float x = a" + repeat(".b", n) + repeat(" + c", n) + "; void f() { g" + repeat("()", n) + "; }",
        "void f() { if (a) b; " + repeat("else if (a) b; ", n) + "}",
        repeat("a{", n),
        repeat("layout(", n),
        repeat("struct ", n),
        "void f() { " + repeat("x = a && b || c ^^ d; ", n) + "}",
    };
    for (size_t i = 0; i < inputs.size(); i++) {
        CppRun run = analyse(inputs[i]);
        EXPECT_EQ(run.job.colours.count, (i64)inputs[i].size()) << "input " << i;
        EXPECT_GE(run.job.result->scopes.count, 1) << "input " << i;
    }
}

TEST(GlslSemantic, StructInstancesLocalStructsAndLeadingDotNumbers) {
    CppRun run = analyse(
        "struct S { float a; } s, t[2];\nuniform Block { mat4 m; } ub;\nvoid main() {\n"
        "  struct L { vec2 q; } l;\n  float x = s.a + t[0].a + ub.m[0].x + l.q.x + max(.5, 1.0);\n}\n");
    EXPECT_EQ(outline(run), (std::vector<std::string>{"0 cube S", "1 sphere a", "0 end", "0 sphere s", "0 sphere t",
                                                      "0 cube Block", "1 sphere m", "0 end", "0 sphere ub",
                                                      "0 cylinder main"}));
    EXPECT_EQ(colour_of(run, "a", 1), glsl_kind_member_var);
    EXPECT_EQ(colour_of(run, "a", 2), glsl_kind_member_var);
    EXPECT_EQ(colour_of(run, "m", 1), glsl_kind_member_var);
    EXPECT_EQ(colour_of(run, "L"), glsl_kind_struct);
    EXPECT_EQ(colour_of(run, "l", 1), glsl_kind_local_var);
    EXPECT_EQ(colour_of(run, "q", 1), glsl_kind_member_var);
    EXPECT_EQ(colour_of(run, "max"), glsl_kind_proc);
}

// A shader chunk made to be pasted into a function: its statements stand at file level
// where no declaration takes them in; the built-ins in them keep their colours, and a
// name the chunk declares itself does not turn into a built-in.
TEST(GlslSemantic, BuiltinsInStatementsAtFileLevel) {
    CppRun run = analyse(
        "#ifdef USE_NORMAL\n"
        "  vNormal = normalize(vec3(gl_FragCoord.xy, 1.0) * unknown);\n"
        "#endif\n"
        "float length2(vec3 v) { return dot(v, v); }\n"
        "res = length2(mix(a, b, 0.5));\n");
    EXPECT_EQ(colour_of(run, "normalize"), glsl_kind_proc);
    EXPECT_EQ(colour_of(run, "vec3", 0), glsl_kind_type_keyword);
    EXPECT_EQ(colour_of(run, "gl_FragCoord"), glsl_kind_global_var);
    EXPECT_EQ(colour_of(run, "mix"), glsl_kind_proc);
    EXPECT_EQ(colour_of(run, "vNormal"), glsl_kind_default);
    EXPECT_EQ(colour_of(run, "unknown"), glsl_kind_default);
    EXPECT_EQ(colour_of(run, "res"), glsl_kind_default);
}
