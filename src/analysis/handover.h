#pragma once
// The meeting point of the main thread and the analysis thread: one request slot and
// one result slot, both guarded by analysis_lock.
#include "analysis/analysis_result.h"
#include "core/text_store.h"
#include "platform/platform.h"


struct AnalysisRequest {
    u8 pending;
    u8 has_text;  // the text is read from the source cache; 0: analyse as empty
    StringView path;
    u8 kind;  // FileKind of the document
};

struct ResultSlot {
    u8 ready;
    StringView path;  // what the result was made from (pool_parser)
    u8 had_text;      // 0: analysed as empty (no colours to give)
    Array<u8> colours;  // one TokenKind byte per analysed byte (pool_parser)
    AnalysisResult result;
    i64 parser_used;
    u8 running;  // cleared at shutdown
};


// Creates both locks; called once at start-up before the thread starts.
void analysis_locks_create();
void analysis_locks_destroy();

// Posts a request (takes analysis_lock). With `has_text` the pass reads the text of
// `path` from the source cache (a shared document or a stored copy); else it analyses an
// empty text.
void analysis_post_request(StringView path, bool has_text, u8 kind);

// With analysis_lock held: when a result is ready and no request is pending, copies its
// colours into `text` (only when the lengths agree; the text's gap stays where it is) and
// the result into pool_output as current_result, then clears the slot. Returns true when
// a result was taken. `text` may be null.
bool analysis_take_result_locked(TextStore* text);
// With analysis_lock held: whether a result is ready, no request is pending, and it was
// made from another file than `path` or from a text of another length than `length` (a
// tab switched, or the text changed with no request after it). Such a result is dropped
// and the document asks again rather than show another text's colours.
bool analysis_result_stale_locked(StringView path, i64 length);
void analysis_drop_result_locked();
