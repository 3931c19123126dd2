#pragma once
// The frame around the editor: toolbar, resize bars, file tree, minimap, tab bar,
// context menu, dialogs and the pointer trail.
#include "core/string_view.h"
#include "core/types.h"
#include "editor/document.h"

// What the workbench is told at start-up: the directory the project dialogs start in, and
// whether the system pointer stays (no pointer trail; the view sets pointer shapes).
struct WorkbenchConfig {
    StringView workspace;
    bool keep_system_cursor;
    f32 scale = 1;  // every size of the workbench, the editor's text included
};
void workbench_init(const WorkbenchConfig& config);
void workbench_frame();
// A quit request (window close button, F10, a close request from the system): ends at
// once when nothing is unsaved, else asks; workbench_quit_confirmed tells the shell.
void workbench_request_quit();
bool workbench_quit_confirmed();
// After a project was loaded (or at a start without one): recovered texts put back into
// their tabs, the other recovery files listed.
void restore_recovered_documents();
void open_prompt(i32 mode, StringView title);
// Opens what the command line names: one project file or folder, and source files
// (without a project: in a project without a file). Bad paths are said one by one.
void workbench_open_paths(const StringView* paths, i64 count);
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
