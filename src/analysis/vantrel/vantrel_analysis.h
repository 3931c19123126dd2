#pragma once
// The vantrel pass: lex the document and the project's other .vnt files, parse, declare
// and resolve, filling the job's colours and result.
#include "analysis/analysis_job.h"

void vantrel_analysis_run(AnalysisJob* job);
