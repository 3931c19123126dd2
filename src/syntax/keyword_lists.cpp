#include "syntax/keyword_lists.h"

const StringView vantrel_keyword_list[vantrel_keyword_count] = {
    SV("alias"), SV("align_of"), SV("align_val"), SV("bool"), SV("break"), SV("byte"), SV("case"),
    SV("cast"), SV("char"), SV("const"), SV("continue"), SV("direct"), SV("do"), SV("double"),
    SV("else"), SV("enum"), SV("enum_max"), SV("enum_min"), SV("enum_size"), SV("exit"),
    SV("export"), SV("false"), SV("float"), SV("for"), SV("foreign"), SV("handle"), SV("if"),
    SV("inline"), SV("int"), SV("length_of"), SV("long"), SV("no_inline"), SV("null"), SV("octa"),
    SV("offset_of"), SV("pointer"), SV("proc"), SV("quadro"), SV("real"), SV("return"), SV("short"),
    SV("size_arr"), SV("size_of"), SV("size_val"), SV("src_file"), SV("src_line"), SV("src_proc"),
    SV("static"), SV("struct"), SV("switch"), SV("symmetric"), SV("take"), SV("tiny"),
    SV("transmute"), SV("true"), SV("union"), SV("using"), SV("while"),
};

const u8 vantrel_keyword_kind[vantrel_keyword_count] = {
    3, 4, 4, 2, 3, 2, 3, 4, 2, 3,  // alias align_of align_val bool break byte case cast char const
    3, 3, 3, 2, 3, 3, 4, 4, 4, 3,  // continue direct do double else enum enum_max enum_min enum_size exit
    3, 4, 2, 3, 3, 3, 3, 3, 2, 4,  // export false float for foreign handle if inline int length_of
    2, 3, 4, 2, 4, 2, 3, 2, 2, 3,  // long no_inline null octa offset_of pointer proc quadro real return
    2, 4, 4, 4, 4, 4, 4, 3, 3, 3,  // short size_arr size_of size_val src_file src_line src_proc static struct switch
    3, 4, 2, 4, 4, 3, 3, 3,  // symmetric take tiny transmute true union using while
};

const StringView c_keyword_list[c_keyword_count] = {
    SV("asm"), SV("bool"), SV("break"), SV("case"), SV("char"), SV("const"), SV("continue"),
    SV("default"), SV("do"), SV("double"), SV("else"), SV("enum"), SV("extern"), SV("false"),
    SV("float"), SV("for"), SV("goto"), SV("if"), SV("inline"), SV("int"), SV("long"),
    SV("register"), SV("return"), SV("short"), SV("signed"), SV("sizeof"), SV("static"),
    SV("struct"), SV("switch"), SV("true"), SV("typedef"), SV("union"), SV("unsigned"), SV("void"),
    SV("volatile"), SV("while"),
};

const u8 c_keyword_kind[c_keyword_count] = {
    3, 2, 3, 3, 2, 3, 3, 3, 3, 2,  // asm bool break case char const continue default do double
    3, 3, 3, 4, 2, 3, 3, 3, 3, 2,  // else enum extern false float for goto if inline int
    2, 3, 3, 2, 3, 4, 3, 3, 3, 4,  // long register return short signed sizeof static struct switch true
    3, 3, 3, 2, 3, 3,  // typedef union unsigned void volatile while
};

const StringView cpp_keyword_list[cpp_keyword_count] = {
    SV("alignas"), SV("alignof"), SV("and"), SV("and_eq"), SV("auto"), SV("bitand"), SV("bitor"),
    SV("catch"), SV("char8_t"), SV("char16_t"), SV("char32_t"), SV("class"), SV("compl"),
    SV("concept"), SV("consteval"), SV("constexpr"), SV("constinit"), SV("const_cast"),
    SV("co_await"), SV("co_return"), SV("co_yield"), SV("decltype"), SV("delete"),
    SV("dynamic_cast"), SV("explicit"), SV("export"), SV("friend"), SV("mutable"), SV("namespace"),
    SV("new"), SV("noexcept"), SV("not"), SV("not_eq"), SV("nullptr"), SV("operator"), SV("or"),
    SV("or_eq"), SV("private"), SV("protected"), SV("public"), SV("reinterpret_cast"),
    SV("requires"), SV("static_assert"), SV("static_cast"), SV("template"), SV("this"),
    SV("thread_local"), SV("throw"), SV("try"), SV("typeid"), SV("typename"), SV("using"),
    SV("virtual"), SV("xor"), SV("xor_eq"),
};

const u8 cpp_keyword_kind[cpp_keyword_count] = {
    3, 4, 4, 4, 2, 4, 4, 3, 2, 2,  // alignas alignof and and_eq auto bitand bitor catch char8_t char16_t
    2, 3, 4, 3, 3, 3, 3, 4, 3, 3,  // char32_t class compl concept consteval constexpr constinit const_cast co_await co_return
    3, 4, 4, 4, 3, 3, 3, 3, 3, 4,  // co_yield decltype delete dynamic_cast explicit export friend mutable namespace new
    3, 4, 4, 4, 3, 4, 4, 3, 3, 3,  // noexcept not not_eq nullptr operator or or_eq private protected public
    4, 3, 4, 4, 3, 4, 3, 3, 3, 4,  // reinterpret_cast requires static_assert static_cast template this thread_local throw try typeid
    3, 3, 3, 4, 4,  // typename using virtual xor xor_eq
};

const StringView glsl_keyword_list[glsl_keyword_count] = {
    SV("attribute"), SV("break"), SV("case"), SV("continue"), SV("default"), SV("discard"),
    SV("do"), SV("else"), SV("false"), SV("for"), SV("if"), SV("in"), SV("layout"), SV("out"),
    SV("return"), SV("struct"), SV("switch"), SV("true"), SV("uniform"), SV("varying"), SV("while"),
};

const u8 glsl_keyword_kind[glsl_keyword_count] = {
    3, 3, 3, 3, 3, 3, 3, 3, 4, 3,  // attribute break case continue default discard do else false for
    3, 3, 3, 3, 3, 3, 3, 4, 3, 3,  // if in layout out return struct switch true uniform varying
    3,  // while
};

void insert_vantrel_keywords(KeywordTrie* trie) {
    for (i64 i = 0; i < vantrel_keyword_count; i++) trie_insert(trie, vantrel_keyword_list[i], (u16)(vantrel_keyword_first + i));
}

void insert_c_keywords(KeywordTrie* trie) {
    for (i64 i = 0; i < c_keyword_count; i++) trie_insert(trie, c_keyword_list[i], (u16)(c_keyword_first + i));
}

void insert_cpp_keywords(KeywordTrie* trie) {
    for (i64 i = 0; i < cpp_keyword_count; i++) trie_insert(trie, cpp_keyword_list[i], (u16)(cpp_keyword_first + i));
}

void insert_glsl_keywords(KeywordTrie* trie) {
    for (i64 i = 0; i < glsl_keyword_count; i++) trie_insert(trie, glsl_keyword_list[i], (u16)(glsl_keyword_first + i));
}
