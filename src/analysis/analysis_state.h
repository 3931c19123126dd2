#pragma once
// The analysis subsystem's state: the two locks, the request and result slots, the main
// thread's copy of the last taken result, the source cache, and the record a pass fills.
#include "analysis/handover.h"
#include "analysis/source_cache.h"

struct AnalysisState {
    // Request and result slots are guarded by `lock`, the source cache by `source_lock`;
    // no thread holds both at once.
    Mutex* lock;
    Mutex* source_lock;
    // Posted with each request (and at shutdown), so that an idle thread sleeps instead
    // of looking for work many times a second.
    Signal* wake;
    AnalysisRequest request;
    ResultSlot result_slot;
    // The main thread's copy of the last taken result (its arrays live in pool_output).
    AnalysisResult current_result;
    SourceCache source_cache;
    // What the analysis thread's pass fills before it is published.
    AnalysisResult pass_result;
};

extern AnalysisState analysis;
