#include "analysis/analysis_thread.h"

#include "analysis/handover.h"
#include "memory/arena.h"
#include "platform/platform.h"

// Until the language passes exist the thread only consumes requests.
i64 analysis_thread_main(void*) {
    for (;;) {
        pool_reset(pool_parser);
        mutex_lock(analysis_lock);
        bool running = analysis_result_slot.running;
        analysis_request.pending = 0;
        mutex_unlock(analysis_lock);
        if (!running) return 0;
        system_sleep(33);
    }
}
