#pragma once
// The project: files, tree, tabs and sources list, and its file.
#include "core/project_path.h"
#include "core/string_view.h"

extern bool project_saved;

void project_load(StringView path);
// The project file's name (after its last separator).
StringView project_file_name();
