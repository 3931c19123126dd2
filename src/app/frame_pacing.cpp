// Frames on change: after each frame the loop works out when the next one is due and
// sleeps until then or until input arrives. Something that moves by itself asks for its
// next frame (frame_request); background work that ends in a visible change (analysis,
// recovery files, the look at files on disk, notices that expire) is polled or timed here.
#include "analysis/analysis_state.h"
#include "app/frame_pacing.h"
#include "app/shell_state.h"
#include "editor/editor_state.h"
#include "editor/recovery.h"
#include "platform/platform.h"
#include "render/renderer.h"
#include "workbench/workbench_state.h"

namespace {
// However quiet, the loop looks round this often (files on disk are looked at every 2 s).
constexpr f64 longest_sleep = 2.0;
// While an analysis runs, its result is looked for this often, for at most so long after
// the request (a pass that publishes nothing must not keep the loop polling).
constexpr i64 analysis_poll_ms = 4;
constexpr f64 analysis_longest_wait = 10.0;
// The heap is trimmed in a pause at least this long, at most this often.
constexpr f64 trim_pause = 0.25;
constexpr f64 trim_interval = 5.0;
// While the recovery worker holds a job, its result is taken this soon.
constexpr f64 recovery_poll = 0.05;

f64 seconds_now() { return (f64)system_performance_counter() / (f64)system_performance_frequency(); }

f64 earlier(f64 a, f64 b) { return b < a ? b : a; }

// Seconds from `now` until recovery_step has something to do; longest_sleep when nothing.
f64 recovery_due_in(f64 now) {
    const RecoveryState& r = editor.recovery;
    if (!r.enabled) return longest_sleep;
    if (r.removal_count > 0) return 0;
    bool in_flight = false;
    if (r.lock) {
        mutex_lock(r.lock);
        in_flight = r.job_pending || r.busy || r.result_ready;
        mutex_unlock(r.lock);
    }
    if (in_flight) return recovery_poll;
    f64 due = longest_sleep;
    for (i64 slot = 0; editor.tab_table.slots && slot < tab_slot_count; slot++) {
        if (!tab_slot_used(slot)) continue;
        const Document& doc = editor.tab_table.slots[slot];
        bool behind = doc.dirty && doc.state_id != doc.recovery_state_id;
        if (!behind && !(!doc.dirty && doc.recovery_present)) continue;
        f64 at = behind ? doc.recovery_time + recovery_write_interval : now;
        if (r.retry_after > at) at = r.retry_after;
        due = earlier(due, at - now);
    }
    return due;
}

// Seconds until a timer of the workbench runs out: the look at files on disk, a notice.
f64 workbench_due_in(f64 now) {
    f64 due = workbench.disk.last_check + disk_check_interval - now;
    for (i32 i = 0; i < workbench.notices.count; i++) due = earlier(due, workbench.notices.expires[i] - now);
    return due;
}
}  // namespace

bool analysis_result_waiting(bool* requested) {
    *requested = false;
    if (!analysis.lock) return false;
    mutex_lock(analysis.lock);
    bool ready = analysis.result_slot.ready != 0;
    *requested = analysis.request.pending != 0;
    mutex_unlock(analysis.lock);
    return ready;
}

void plan_next_frame(bool animating) {
    f64 now = seconds_now();
    // A request waits for the thread or is being worked on until a result appears; a
    // result that stays untaken is not waited for again.
    bool requested = false;
    bool ready = analysis_result_waiting(&requested);
    if (requested) {
        shell.run.analysis_awaited = true;
        shell.run.analysis_requested_at = now;
    } else if (ready || now - shell.run.analysis_requested_at > analysis_longest_wait) {
        shell.run.analysis_awaited = false;
    }

    f64 pace = shell.display_paced ? 0 : (f64)shell.sleep_ms / 1000.0;
    f64 delay = longest_sleep;
    if (!shell.paused) {
        delay = earlier(delay, recovery_due_in(now));
        delay = earlier(delay, workbench_due_in(now));
        f64 wanted = render.frames.wanted_in;
        if (wanted >= 0) {
            // Measured from the frame's start; the pace keeps animations from spinning.
            f64 from_now = wanted - (now - shell.run.frame_start_seconds);
            delay = earlier(delay, from_now > pace ? from_now : pace);
        }
        if (animating) delay = earlier(delay, pace);
    }
    if (delay < 0) delay = 0;
    // In a pause after drawing, the heap's free pages go back (at most every few seconds).
    if (delay >= trim_pause && render.frames.drawn != shell.run.drawn_at_last_trim &&
        now - shell.run.last_trim >= trim_interval) {
        shell.run.drawn_at_last_trim = render.frames.drawn;
        shell.run.last_trim = now;
        system_return_free_memory();
    }
    shell.run.next_frame_due = system_performance_counter() + (u64)(delay * (f64)system_performance_frequency());
}

void application_wait() {
    for (;;) {
        if (shell.exhausted_pool.load() >= 0) return;
        u64 now = system_performance_counter();
        if (now >= shell.run.next_frame_due) return;
        u64 left_ns = shell.run.next_frame_due - now;
        i64 left_ms = (i64)((left_ns + 999999) / 1000000);
        bool polling = shell.run.analysis_awaited && !shell.paused &&
                       seconds_now() - shell.run.analysis_requested_at <= analysis_longest_wait;
        if (polling && left_ms > analysis_poll_ms) left_ms = analysis_poll_ms;
        if (input_wait(left_ms)) return;
        bool requested = false;
        if (polling && analysis_result_waiting(&requested)) return;
    }
}
