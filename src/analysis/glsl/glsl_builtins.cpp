// The names every GLSL shader can use without declaring them: the built-in types,
// variables, constants and functions of The OpenGL Shading Language 4.60, sections 7 and
// 8 (with the compatibility profile's), and of the OpenGL ES Shading Language 3.20 (with
// the texture functions of its common extensions), in one table. Type names are not
// lexer keywords: they get their colour from these symbols.
#include "analysis/glsl/glsl_semantic.h"
#include "analysis/symbols.h"

const StringView glsl_builtin_types[glsl_builtin_type_count] = {
    SV("void"), SV("bool"), SV("int"), SV("uint"), SV("float"), SV("double"), SV("vec2"), SV("vec3"), SV("vec4"),
    SV("dvec2"), SV("dvec3"), SV("dvec4"), SV("bvec2"), SV("bvec3"), SV("bvec4"), SV("ivec2"), SV("ivec3"),
    SV("ivec4"), SV("uvec2"), SV("uvec3"), SV("uvec4"), SV("mat2"), SV("mat3"), SV("mat4"), SV("mat2x2"),
    SV("mat2x3"), SV("mat2x4"), SV("mat3x2"), SV("mat3x3"), SV("mat3x4"), SV("mat4x2"), SV("mat4x3"), SV("mat4x4"),
    SV("dmat2"), SV("dmat3"), SV("dmat4"), SV("dmat2x2"), SV("dmat2x3"), SV("dmat2x4"), SV("dmat3x2"),
    SV("dmat3x3"), SV("dmat3x4"), SV("dmat4x2"), SV("dmat4x3"), SV("dmat4x4"), SV("atomic_uint"), SV("sampler1D"),
    SV("sampler2D"), SV("sampler3D"), SV("samplerCube"), SV("sampler2DRect"), SV("sampler1DArray"),
    SV("sampler2DArray"), SV("samplerCubeArray"), SV("samplerBuffer"), SV("sampler2DMS"), SV("sampler2DMSArray"),
    SV("isampler1D"), SV("isampler2D"), SV("isampler3D"), SV("isamplerCube"), SV("isampler2DRect"),
    SV("isampler1DArray"), SV("isampler2DArray"), SV("isamplerCubeArray"), SV("isamplerBuffer"), SV("isampler2DMS"),
    SV("isampler2DMSArray"), SV("usampler1D"), SV("usampler2D"), SV("usampler3D"), SV("usamplerCube"),
    SV("usampler2DRect"), SV("usampler1DArray"), SV("usampler2DArray"), SV("usamplerCubeArray"),
    SV("usamplerBuffer"), SV("usampler2DMS"), SV("usampler2DMSArray"), SV("sampler1DShadow"), SV("sampler2DShadow"),
    SV("sampler2DRectShadow"), SV("sampler1DArrayShadow"), SV("sampler2DArrayShadow"), SV("samplerCubeShadow"),
    SV("samplerCubeArrayShadow"), SV("samplerExternalOES"), SV("image1D"), SV("image2D"), SV("image3D"),
    SV("imageCube"), SV("image2DRect"), SV("image1DArray"), SV("image2DArray"), SV("imageCubeArray"),
    SV("imageBuffer"), SV("image2DMS"), SV("image2DMSArray"), SV("iimage1D"), SV("iimage2D"), SV("iimage3D"),
    SV("iimageCube"), SV("iimage2DRect"), SV("iimage1DArray"), SV("iimage2DArray"), SV("iimageCubeArray"),
    SV("iimageBuffer"), SV("iimage2DMS"), SV("iimage2DMSArray"), SV("uimage1D"), SV("uimage2D"), SV("uimage3D"),
    SV("uimageCube"), SV("uimage2DRect"), SV("uimage1DArray"), SV("uimage2DArray"), SV("uimageCubeArray"),
    SV("uimageBuffer"), SV("uimage2DMS"), SV("uimage2DMSArray"),
};

// Variables, then the implementation-dependent constants (section 7.3).
const StringView glsl_builtin_variables[glsl_builtin_variable_count] = {
    SV("gl_VertexID"), SV("gl_InstanceID"), SV("gl_VertexIndex"), SV("gl_InstanceIndex"), SV("gl_DrawID"),
    SV("gl_BaseVertex"), SV("gl_BaseInstance"), SV("gl_PerVertex"), SV("gl_Position"), SV("gl_PointSize"),
    SV("gl_ClipDistance"), SV("gl_CullDistance"), SV("gl_in"), SV("gl_out"), SV("gl_PatchVerticesIn"),
    SV("gl_PrimitiveID"), SV("gl_InvocationID"), SV("gl_TessLevelOuter"), SV("gl_TessLevelInner"),
    SV("gl_TessCoord"), SV("gl_PrimitiveIDIn"), SV("gl_Layer"), SV("gl_ViewportIndex"), SV("gl_FragCoord"),
    SV("gl_FrontFacing"), SV("gl_PointCoord"), SV("gl_SampleID"), SV("gl_SamplePosition"), SV("gl_SampleMaskIn"),
    SV("gl_SampleMask"), SV("gl_HelperInvocation"), SV("gl_FragDepth"), SV("gl_FragColor"), SV("gl_FragData"),
    SV("gl_NumWorkGroups"), SV("gl_WorkGroupSize"), SV("gl_WorkGroupID"), SV("gl_LocalInvocationID"),
    SV("gl_GlobalInvocationID"), SV("gl_LocalInvocationIndex"), SV("gl_DepthRange"), SV("gl_NumSamples"),
    SV("gl_Vertex"), SV("gl_Normal"), SV("gl_Color"), SV("gl_SecondaryColor"), SV("gl_FogCoord"),
    SV("gl_MultiTexCoord0"), SV("gl_MultiTexCoord1"), SV("gl_MultiTexCoord2"), SV("gl_MultiTexCoord3"),
    SV("gl_MultiTexCoord4"), SV("gl_MultiTexCoord5"), SV("gl_MultiTexCoord6"), SV("gl_MultiTexCoord7"),
    SV("gl_ClipVertex"), SV("gl_FrontColor"), SV("gl_BackColor"), SV("gl_FrontSecondaryColor"),
    SV("gl_BackSecondaryColor"), SV("gl_TexCoord"), SV("gl_FogFragCoord"), SV("gl_ModelViewMatrix"),
    SV("gl_ProjectionMatrix"), SV("gl_ModelViewProjectionMatrix"), SV("gl_TextureMatrix"), SV("gl_NormalMatrix"),
    SV("gl_ModelViewMatrixInverse"), SV("gl_ProjectionMatrixInverse"), SV("gl_ModelViewProjectionMatrixInverse"),
    SV("gl_TextureMatrixInverse"), SV("gl_ModelViewMatrixTranspose"), SV("gl_ProjectionMatrixTranspose"),
    SV("gl_ModelViewProjectionMatrixTranspose"), SV("gl_TextureMatrixTranspose"),
    SV("gl_ModelViewMatrixInverseTranspose"), SV("gl_ProjectionMatrixInverseTranspose"),
    SV("gl_ModelViewProjectionMatrixInverseTranspose"), SV("gl_TextureMatrixInverseTranspose"),
    SV("gl_NormalScale"), SV("gl_ClipPlane"), SV("gl_Point"), SV("gl_FrontMaterial"), SV("gl_BackMaterial"),
    SV("gl_LightSource"), SV("gl_LightModel"), SV("gl_FrontLightModelProduct"), SV("gl_BackLightModelProduct"),
    SV("gl_FrontLightProduct"), SV("gl_BackLightProduct"), SV("gl_TextureEnvColor"), SV("gl_EyePlaneS"),
    SV("gl_EyePlaneT"), SV("gl_EyePlaneR"), SV("gl_EyePlaneQ"), SV("gl_ObjectPlaneS"), SV("gl_ObjectPlaneT"),
    SV("gl_ObjectPlaneR"), SV("gl_ObjectPlaneQ"), SV("gl_Fog"), SV("gl_MaxVertexAttribs"),
    SV("gl_MaxVertexUniformVectors"), SV("gl_MaxVertexUniformComponents"), SV("gl_MaxVertexOutputComponents"),
    SV("gl_MaxVaryingComponents"), SV("gl_MaxVaryingVectors"), SV("gl_MaxVaryingFloats"),
    SV("gl_MaxVertexTextureImageUnits"), SV("gl_MaxVertexImageUniforms"), SV("gl_MaxVertexAtomicCounters"),
    SV("gl_MaxVertexAtomicCounterBuffers"), SV("gl_MaxTessPatchComponents"), SV("gl_MaxPatchVertices"),
    SV("gl_MaxTessGenLevel"), SV("gl_MaxTessControlInputComponents"), SV("gl_MaxTessControlOutputComponents"),
    SV("gl_MaxTessControlTextureImageUnits"), SV("gl_MaxTessControlUniformComponents"),
    SV("gl_MaxTessControlTotalOutputComponents"), SV("gl_MaxTessControlImageUniforms"),
    SV("gl_MaxTessControlAtomicCounters"), SV("gl_MaxTessControlAtomicCounterBuffers"),
    SV("gl_MaxTessEvaluationInputComponents"), SV("gl_MaxTessEvaluationOutputComponents"),
    SV("gl_MaxTessEvaluationTextureImageUnits"), SV("gl_MaxTessEvaluationUniformComponents"),
    SV("gl_MaxTessEvaluationImageUniforms"), SV("gl_MaxTessEvaluationAtomicCounters"),
    SV("gl_MaxTessEvaluationAtomicCounterBuffers"), SV("gl_MaxGeometryInputComponents"),
    SV("gl_MaxGeometryOutputComponents"), SV("gl_MaxGeometryImageUniforms"), SV("gl_MaxGeometryTextureImageUnits"),
    SV("gl_MaxGeometryOutputVertices"), SV("gl_MaxGeometryTotalOutputComponents"),
    SV("gl_MaxGeometryUniformComponents"), SV("gl_MaxGeometryVaryingComponents"),
    SV("gl_MaxGeometryAtomicCounters"), SV("gl_MaxGeometryAtomicCounterBuffers"), SV("gl_MaxFragmentImageUniforms"),
    SV("gl_MaxFragmentInputComponents"), SV("gl_MaxFragmentUniformVectors"), SV("gl_MaxFragmentUniformComponents"),
    SV("gl_MaxFragmentAtomicCounters"), SV("gl_MaxFragmentAtomicCounterBuffers"), SV("gl_MaxDrawBuffers"),
    SV("gl_MaxTextureImageUnits"), SV("gl_MinProgramTexelOffset"), SV("gl_MaxProgramTexelOffset"),
    SV("gl_MaxImageUnits"), SV("gl_MaxImageSamples"), SV("gl_MaxSamples"), SV("gl_MaxCombinedImageUniforms"),
    SV("gl_MaxCombinedTextureImageUnits"), SV("gl_MaxCombinedImageUnitsAndFragmentOutputs"),
    SV("gl_MaxCombinedShaderOutputResources"), SV("gl_MaxCombinedAtomicCounters"),
    SV("gl_MaxCombinedAtomicCounterBuffers"), SV("gl_MaxCombinedClipAndCullDistances"), SV("gl_MaxClipDistances"),
    SV("gl_MaxCullDistances"), SV("gl_MaxAtomicCounterBindings"), SV("gl_MaxAtomicCounterBufferSize"),
    SV("gl_MaxTransformFeedbackBuffers"), SV("gl_MaxTransformFeedbackInterleavedComponents"),
    SV("gl_MaxComputeWorkGroupCount"), SV("gl_MaxComputeWorkGroupSize"), SV("gl_MaxComputeUniformComponents"),
    SV("gl_MaxComputeTextureImageUnits"), SV("gl_MaxComputeImageUniforms"), SV("gl_MaxComputeAtomicCounters"),
    SV("gl_MaxComputeAtomicCounterBuffers"), SV("gl_MaxViewports"), SV("gl_MaxLights"), SV("gl_MaxClipPlanes"),
    SV("gl_MaxTextureUnits"), SV("gl_MaxTextureCoords"),
};

const StringView glsl_builtin_functions[glsl_builtin_function_count] = {
    SV("radians"), SV("degrees"), SV("sin"), SV("cos"), SV("tan"), SV("asin"), SV("acos"), SV("atan"), SV("sinh"),
    SV("cosh"), SV("tanh"), SV("asinh"), SV("acosh"), SV("atanh"), SV("pow"), SV("exp"), SV("log"), SV("exp2"),
    SV("log2"), SV("sqrt"), SV("inversesqrt"), SV("abs"), SV("sign"), SV("floor"), SV("trunc"), SV("round"),
    SV("roundEven"), SV("ceil"), SV("fract"), SV("mod"), SV("modf"), SV("min"), SV("max"), SV("clamp"), SV("mix"),
    SV("step"), SV("smoothstep"), SV("isnan"), SV("isinf"), SV("floatBitsToInt"), SV("floatBitsToUint"),
    SV("intBitsToFloat"), SV("uintBitsToFloat"), SV("fma"), SV("frexp"), SV("ldexp"), SV("packUnorm2x16"),
    SV("packSnorm2x16"), SV("packUnorm4x8"), SV("packSnorm4x8"), SV("unpackUnorm2x16"), SV("unpackSnorm2x16"),
    SV("unpackUnorm4x8"), SV("unpackSnorm4x8"), SV("packHalf2x16"), SV("unpackHalf2x16"), SV("packDouble2x32"),
    SV("unpackDouble2x32"), SV("length"), SV("distance"), SV("dot"), SV("cross"), SV("normalize"), SV("ftransform"),
    SV("faceforward"), SV("reflect"), SV("refract"), SV("matrixCompMult"), SV("outerProduct"), SV("transpose"),
    SV("determinant"), SV("inverse"), SV("lessThan"), SV("lessThanEqual"), SV("greaterThan"),
    SV("greaterThanEqual"), SV("equal"), SV("notEqual"), SV("any"), SV("all"), SV("not"), SV("uaddCarry"),
    SV("usubBorrow"), SV("umulExtended"), SV("imulExtended"), SV("bitfieldExtract"), SV("bitfieldInsert"),
    SV("bitfieldReverse"), SV("bitCount"), SV("findLSB"), SV("findMSB"), SV("textureSize"), SV("textureQueryLod"),
    SV("textureQueryLevels"), SV("textureSamples"), SV("texture"), SV("textureProj"), SV("textureLod"),
    SV("textureOffset"), SV("texelFetch"), SV("texelFetchOffset"), SV("textureProjOffset"), SV("textureLodOffset"),
    SV("textureProjLod"), SV("textureProjLodOffset"), SV("textureGrad"), SV("textureGradOffset"),
    SV("textureProjGrad"), SV("textureProjGradOffset"), SV("textureGather"), SV("textureGatherOffset"),
    SV("textureGatherOffsets"), SV("texture1D"), SV("texture1DProj"), SV("texture1DLod"), SV("texture1DProjLod"),
    SV("texture2D"), SV("texture2DProj"), SV("texture2DLod"), SV("texture2DProjLod"), SV("texture3D"),
    SV("texture3DProj"), SV("texture3DLod"), SV("texture3DProjLod"), SV("textureCube"), SV("textureCubeLod"),
    SV("shadow1D"), SV("shadow2D"), SV("shadow1DProj"), SV("shadow2DProj"), SV("shadow1DLod"), SV("shadow2DLod"),
    SV("shadow1DProjLod"), SV("shadow2DProjLod"), SV("texture2DLodEXT"), SV("texture2DProjLodEXT"),
    SV("textureCubeLodEXT"), SV("texture2DGradEXT"), SV("texture2DProjGradEXT"), SV("textureCubeGradEXT"),
    SV("atomicCounterIncrement"), SV("atomicCounterDecrement"), SV("atomicCounter"), SV("atomicCounterAdd"),
    SV("atomicCounterSubtract"), SV("atomicCounterMin"), SV("atomicCounterMax"), SV("atomicCounterAnd"),
    SV("atomicCounterOr"), SV("atomicCounterXor"), SV("atomicCounterExchange"), SV("atomicCounterCompSwap"),
    SV("atomicAdd"), SV("atomicMin"), SV("atomicMax"), SV("atomicAnd"), SV("atomicOr"), SV("atomicXor"),
    SV("atomicExchange"), SV("atomicCompSwap"), SV("imageSize"), SV("imageSamples"), SV("imageLoad"),
    SV("imageStore"), SV("imageAtomicAdd"), SV("imageAtomicMin"), SV("imageAtomicMax"), SV("imageAtomicAnd"),
    SV("imageAtomicOr"), SV("imageAtomicXor"), SV("imageAtomicExchange"), SV("imageAtomicCompSwap"),
    SV("EmitStreamVertex"), SV("EndStreamPrimitive"), SV("EmitVertex"), SV("EndPrimitive"), SV("dFdx"), SV("dFdy"),
    SV("dFdxFine"), SV("dFdyFine"), SV("dFdxCoarse"), SV("dFdyCoarse"), SV("fwidth"), SV("fwidthFine"),
    SV("fwidthCoarse"), SV("interpolateAtCentroid"), SV("interpolateAtSample"), SV("interpolateAtOffset"),
    SV("noise1"), SV("noise2"), SV("noise3"), SV("noise4"), SV("barrier"), SV("memoryBarrier"),
    SV("memoryBarrierAtomicCounter"), SV("memoryBarrierBuffer"), SV("memoryBarrierShared"),
    SV("memoryBarrierImage"), SV("groupMemoryBarrier"), SV("subpassLoad"), SV("anyInvocation"),
    SV("allInvocations"), SV("allInvocationsEqual"),
};

namespace {
// The types of the built-in variables that are vectors or matrices (sections 7.1 to 7.5),
// so that their components are offered and their swizzles typed. Scalars, arrays and
// blocks stay untyped: nothing follows their "." that a type would explain.
struct TypedVariable {
    StringView name, type;
};
const TypedVariable typed_variables[] = {
    {SV("gl_Position"), SV("vec4")}, {SV("gl_TessCoord"), SV("vec3")}, {SV("gl_FragCoord"), SV("vec4")},
    {SV("gl_PointCoord"), SV("vec2")}, {SV("gl_SamplePosition"), SV("vec2")}, {SV("gl_FragColor"), SV("vec4")},
    {SV("gl_NumWorkGroups"), SV("uvec3")}, {SV("gl_WorkGroupSize"), SV("uvec3")}, {SV("gl_WorkGroupID"), SV("uvec3")},
    {SV("gl_LocalInvocationID"), SV("uvec3")}, {SV("gl_GlobalInvocationID"), SV("uvec3")},
    {SV("gl_MaxComputeWorkGroupCount"), SV("ivec3")}, {SV("gl_MaxComputeWorkGroupSize"), SV("ivec3")},
    {SV("gl_Vertex"), SV("vec4")}, {SV("gl_Normal"), SV("vec3")}, {SV("gl_Color"), SV("vec4")},
    {SV("gl_SecondaryColor"), SV("vec4")}, {SV("gl_MultiTexCoord0"), SV("vec4")}, {SV("gl_MultiTexCoord1"), SV("vec4")},
    {SV("gl_MultiTexCoord2"), SV("vec4")}, {SV("gl_MultiTexCoord3"), SV("vec4")}, {SV("gl_MultiTexCoord4"), SV("vec4")},
    {SV("gl_MultiTexCoord5"), SV("vec4")}, {SV("gl_MultiTexCoord6"), SV("vec4")}, {SV("gl_MultiTexCoord7"), SV("vec4")},
    {SV("gl_ClipVertex"), SV("vec4")}, {SV("gl_FrontColor"), SV("vec4")}, {SV("gl_BackColor"), SV("vec4")},
    {SV("gl_FrontSecondaryColor"), SV("vec4")}, {SV("gl_BackSecondaryColor"), SV("vec4")},
    {SV("gl_ModelViewMatrix"), SV("mat4")}, {SV("gl_ProjectionMatrix"), SV("mat4")},
    {SV("gl_ModelViewProjectionMatrix"), SV("mat4")}, {SV("gl_NormalMatrix"), SV("mat3")},
    {SV("gl_ModelViewMatrixInverse"), SV("mat4")}, {SV("gl_ProjectionMatrixInverse"), SV("mat4")},
    {SV("gl_ModelViewProjectionMatrixInverse"), SV("mat4")}, {SV("gl_ModelViewMatrixTranspose"), SV("mat4")},
    {SV("gl_ProjectionMatrixTranspose"), SV("mat4")}, {SV("gl_ModelViewProjectionMatrixTranspose"), SV("mat4")},
    {SV("gl_ModelViewMatrixInverseTranspose"), SV("mat4")}, {SV("gl_ProjectionMatrixInverseTranspose"), SV("mat4")},
    {SV("gl_ModelViewProjectionMatrixInverseTranspose"), SV("mat4")},
};

// 1 + the index of a variable's type in glsl_builtin_types; 0: untyped.
i32 variable_type_value(StringView name) {
    for (const TypedVariable& v : typed_variables) {
        if (!sv_equal(v.name, name)) continue;
        TypeInfo type = glsl_builtin_type_named(v.type);
        return type.kind == symbol_builtin_type ? type.index + 1 : 0;
    }
    return 0;
}
}  // namespace

TypeInfo glsl_builtin_type_named(StringView name) {
    for (i32 i = 0; i < glsl_builtin_type_count; i++)
        if (sv_equal(glsl_builtin_types[i], name)) return TypeInfo{symbol_builtin_type, i};
    return no_type;
}

void glsl_declare_builtins(AnalysisResult* result) {
    for (i32 i = 0; i < glsl_builtin_type_count; i++)
        declare_symbol(result, symbol_builtin_type, 0, i, 0, glsl_builtin_types[i]);
    for (StringView name : glsl_builtin_variables)
        declare_symbol(result, symbol_builtin_variable, 0, variable_type_value(name), 0, name);
    for (StringView name : glsl_builtin_functions) declare_symbol(result, symbol_builtin_function, 0, 0, 0, name);
}
