#pragma once
// Where the open project lives. Document paths and the sources list are relative to
// the project directory: the project path up to its last "/" (else its last "\\").
#include "core/core_state.h"
#include "core/string_builder.h"


StringView project_directory();
// project directory + "/" + relative, into `out` (which is emptied first); with no
// directory the relative path is used unchanged.
void build_full_path(StringBuilder* out, StringView relative);
