#pragma once
// The C/C++ pass: lex the document and the project's other C/C++ files, parse, declare
// and resolve, filling the job's colours and result.
#include "analysis/analysis_job.h"

void cpp_analysis_run(AnalysisJob* job, bool c_mode);
