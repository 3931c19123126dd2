#pragma once
// The two list loops of the C-family parsers: a braced statement list (cfam_parse_block) and
// the items between the braces of a class or namespace (cfam_parse_member_list). The
// language supplies the routine that parses one statement or item; these loops own the
// recovery between them.
#include "analysis/parse_state.h"

// Parses one statement or item at `pos`; returns the node, or null when none starts
// there (then `pos` should be where it was).
typedef void* (*ParseHook)(ParseState* p, void* context);

struct BlockParse {
    Array<void*> statements;  // pool_parser
    i64 open;                 // token of "{", -1 for a single statement
    i64 close;                // token of the closing "}", -1 when it is missing
    u8 failed;                // the block gave up (its statements so far are kept)
};

// A braced statement list, "{}", or a single statement. While the list is parsed
// `in_block` is set. The block fails at the end of its file (setting `recovering` and
// `block_abort` with `resume_pos` past the end token, so that every enclosing block
// gives up too), when `block_abort` is seen, or when recovery cannot move on.
void cfam_parse_block(ParseState* p, ParseHook parse_statement, void* context, BlockParse* out);
// Items up to (not including) the "}" that closes the list, or up to the end token.
// Tokens that start no item are skipped with their braces counted. When a nested
// construct gave up at the end of its file, the list ends with the flags left set.
// The "{" is the token before `pos`. A block or, with `end_at_new_item`, a member list
// whose "{" has no partner also ends before a word at column 0 (not a label): what is
// being typed there does not swallow the definitions after it.
void cfam_parse_member_list(ParseState* p, ParseHook parse_item, void* context, Array<void*>* items,
                            bool end_at_new_item);
// After cfam_parse_member_list: whether the list with "{" at `open` ended that way.
bool cfam_list_ended_unclosed(const ParseState* p, i64 open);
