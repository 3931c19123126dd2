#pragma once
// The report of tesmora-analyze: spans of equal colour and the outline rows.
#include "analysis/analysis_job.h"

// Colours the job's text with the recolouring lexers over the whole file (no analysis).
void analyse_lexically(AnalysisJob* job);
void print_file_report(StringView path, const AnalysisJob& job, bool spans, bool outline);
