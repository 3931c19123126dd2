#pragma once
// How the symbols of an analysis result look: the icon of each kind (outline rows and
// completion candidates) and its colour in the result's language.
#include "analysis/analysis_result.h"
#include "render/color.h"

// The icon texture of a kind; 0 where the result's language has no such symbols.
u32 symbol_kind_icon(const AnalysisResult* r, u8 kind);
// Its colour through the language's palette; transparent where there is none.
Color symbol_kind_colour(const AnalysisResult* r, u8 kind);
// An outline row: groups show a cube, other rows the icon of what they declare.
u32 outline_row_icon(const AnalysisResult* r, const OutlineRow& row);
Color outline_row_colour(const AnalysisResult* r, const OutlineRow& row);
