#pragma once
// The frame around the editor: toolbar, resize bars, file tree, minimap, tab bar,
// context menu, dialogs and the pointer trail.
#include "core/string_view.h"
#include "core/types.h"
#include "editor/document.h"

void workbench_init();
void workbench_frame();
// The yes/no/cancel dialog; `pending_tab` is the tab entry waiting on it, -1 for quitting.
// When quitting, "yes" and "no" clear shell.running ("yes" saves the project first, or
// asks where with the "save project" file dialog and ends the loop once it closes).
void open_confirm_dialog(StringView text, i64 pending_tab);
void open_prompt(i32 mode, StringView title);
void open_file_dialog(i32 mode, StringView title, bool relative);
void view_selected_files();
void remove_selected_nodes();
// Makes the tab entry with this id the only active one and its document current
// (completion and symbol lists closed, recoloured).
void activate_tab(i32 tab_id);
// Appends a tab entry (open_tab's hook).
void add_tab_entry(u32 id, StringView label);
// Sets up the text box of the compiler-settings dialog with a sources name.
void set_sources_box_text(StringView name);
StringView sources_box_text();
