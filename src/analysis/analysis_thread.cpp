#include "analysis/analysis_thread.h"

#include "analysis/analysis_job.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "memory/arena.h"
#include "platform/platform.h"

namespace {
AnalysisResult pass_result;

// Rows shown by the workbench, copied so that the pass never reads the main thread's
// memory after the lock is released.
Array<tree_node> copy_rows(const Array<tree_node>& rows) {
    Array<tree_node> copy{nullptr, 0, 0, pool_parser};
    i64 capacity = 1;
    while (capacity < rows.count) capacity *= 2;
    if (rows.count > 0) array_reserve(&copy, capacity);
    for (tree_node row : rows) {
        row.name = string_copy(row.name, pool_parser);
        array_append(&copy, row);
    }
    return copy;
}

void withdraw_previous_result() {
    ResultSlot* slot = &analysis_result_slot;
    slot->ready = 0;
    slot->colours = Array<u8>{};
    slot->result.scopes = Array<Scope>{};
    slot->result.symbols = SymbolMap{};
    slot->result.minimap.rows = Array<tree_node>{};
    slot->result.minimap.moved_rows = Array<i32>{};
    slot->result.cursor_ranges = Array<CursorRange>{};
    slot->result.signatures = Array<Signature>{};
}

void publish(AnalysisJob* job) {
    mutex_lock(analysis_lock);
    pool_reset(pool_output);
    analysis_result_slot.colours = job->colours;
    analysis_result_slot.result = *job->result;
    analysis_result_slot.parser_used = arenas[pool_parser].used;
    analysis_result_slot.ready = 1;
    mutex_unlock(analysis_lock);
}
}  // namespace

bool analysis_run_pending() {
    pool_reset(pool_parser);
    mutex_lock(analysis_lock);
    bool pending = analysis_request.pending;
    AnalysisJob job{};
    bool has_text = false;
    if (pending) {
        withdraw_previous_result();
        job.path = string_copy(analysis_request.path, pool_parser);
        job.kind = analysis_request.kind;
        job.request_rows = copy_rows(analysis_request.minimap);
        has_text = analysis_request.text.length > 0;
        analysis_request.pending = 0;
    }
    mutex_unlock(analysis_lock);
    if (!pending) return false;
    // The text is copied under source_lock: the main thread may store a newer text
    // meanwhile, which is fine (a newer request follows), but never while this pass reads it.
    job.text = has_text ? source_cache_copy(job.path, pool_parser) : StringView{nullptr, 0};
    job.result = &pass_result;
    analysis_run_job(&job);
    if (job.kind >= 1 && job.kind <= 5) publish(&job);
    return true;
}

i64 analysis_thread_main(void*) {
    for (;;) {
        mutex_lock(analysis_lock);
        bool running = analysis_result_slot.running;
        mutex_unlock(analysis_lock);
        if (!running) return 0;
        analysis_run_pending();
        system_sleep(33);
    }
}
