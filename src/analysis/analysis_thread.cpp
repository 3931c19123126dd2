#include "analysis/analysis_thread.h"

#include "analysis/analysis_job.h"
#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "memory/arena.h"
#include "platform/platform.h"

namespace {

void withdraw_previous_result() {
    ResultSlot* slot = &analysis.result_slot;
    slot->ready = 0;
    slot->colours = Array<u8>{};
    slot->path = StringView{nullptr, 0};
    slot->result.scopes = Array<Scope>{};
    slot->result.symbols = SymbolMap{};
    slot->result.outline = Array<OutlineRow>{};
    slot->result.cursor_ranges = Array<CursorRange>{};
    slot->result.signatures = Array<Signature>{};
    slot->result.files = Array<StringView>{};
    slot->result.sites = Array<DeclarationSite>{};
    slot->result.uses = Array<NameUse>{};
    slot->result.uses_by_site = Array<i32>{};
}

void publish(AnalysisJob* job) {
    mutex_lock(analysis.lock);
    pool_reset(pool_output);
    analysis.result_slot.colours = job->colours;
    analysis.result_slot.path = job->path;
    analysis.result_slot.had_text = job->text.length > 0;
    analysis.result_slot.result = *job->result;
    analysis.result_slot.parser_used = memory.arenas[pool_parser].used;
    analysis.result_slot.ready = 1;
    mutex_unlock(analysis.lock);
}
}  // namespace

bool analysis_run_pending() {
    pool_reset(pool_parser);
    mutex_lock(analysis.lock);
    bool pending = analysis.request.pending;
    AnalysisJob job{};
    bool has_text = false;
    if (pending) {
        withdraw_previous_result();
        job.path = string_copy(analysis.request.path, pool_parser);
        job.kind = analysis.request.kind;
        has_text = analysis.request.has_text != 0;
        analysis.request.pending = 0;
    }
    mutex_unlock(analysis.lock);
    if (!pending) return false;
    // The text is copied under source_lock: the main thread may store a newer text
    // meanwhile, which is fine (a newer request follows), but never while this pass reads it.
    job.text_changes = ~(u64)0;
    job.text = has_text ? source_cache_copy(job.path, pool_parser, &job.text_changes) : StringView{nullptr, 0};
    job.result = &analysis.pass_result;
    analysis_run_job(&job);
    if (job.kind >= 1 && job.kind <= 5) publish(&job);
    return true;
}

namespace {
// What a pass of an everyday file touches stays resident; a large file's peak is given
// back once the thread has rested this long, so that typing in that file (a pass per
// pause) does not pay for fresh pages each time.
constexpr i64 parser_pages_kept = (i64)8 << 20;
constexpr f64 rest_before_giving_back = 3.0;

f64 seconds_now() { return (f64)system_performance_counter() / (f64)system_performance_frequency(); }

// Only while no result waits to be taken: its arrays live in pool_parser.
void give_back_after_rest(f64 last_pass) {
    if (memory.arenas[pool_parser].touched <= parser_pages_kept) return;
    if (seconds_now() - last_pass < rest_before_giving_back) return;
    mutex_lock(analysis.lock);
    bool idle = !analysis.result_slot.ready && !analysis.request.pending;
    if (idle) {
        pool_reset(pool_parser);
        pool_give_back(pool_parser, parser_pages_kept);
    }
    mutex_unlock(analysis.lock);
}
}  // namespace

i64 analysis_thread_main(void*) {
    thread_run_in_background();
    f64 last_pass = seconds_now();
    for (;;) {
        mutex_lock(analysis.lock);
        bool running = analysis.result_slot.running;
        mutex_unlock(analysis.lock);
        if (!running) return 0;
        if (analysis_run_pending()) {
            last_pass = seconds_now();
            continue;
        }
        give_back_after_rest(last_pass);
        // Without the wake-up signal (locks made by hand in tests) the thread polls.
        if (analysis.wake) signal_wait(analysis.wake, 250);
        else system_sleep(33);
    }
}
