#pragma once
// The meeting point of the main thread and the analysis thread: one request slot and
// one result slot, both guarded by analysis_lock.
#include "analysis/analysis_result.h"
#include "platform/platform.h"


struct AnalysisRequest {
    u8 pending;
    u8 has_text;  // the text is read from the source cache; 0: analyse as empty
    StringView path;
    u8 kind;  // FileKind of the document
};

struct ResultSlot {
    u8 ready;
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
// colours over `colours` (only when the lengths agree) and the result into pool_output as
// current_result, then clears the slot. Returns true when a result was taken.
// `colours`/`length` may be null/0.
bool analysis_take_result_locked(u8* colours, i64 length);
