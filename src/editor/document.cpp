#include "editor/document.h"

TabTable tab_table;
Document* current_document;
Array<TabPath> tab_paths;
i32 next_tab_id;
EditorHooks editor_hooks;

void tab_table_init() {}
