#pragma once
// The GLSL pass: lex and parse the document alone, declare the built-ins and the
// document's names, resolve, filling the job's colours and result.
#include "analysis/analysis_job.h"

void glsl_analysis_run(AnalysisJob* job);
