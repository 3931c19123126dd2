#pragma once
// The project: files with ids, the file tree, the open tabs and the sources list name,
// and the project file that stores them.
#include "core/project_path.h"
#include "core/string_view.h"
#include "workbench/tree_node.h"

struct TabEntry {
    i32 tab_id;
    StringView label;  // pool_project
    u8 is_active;
    // Layout state of the tab bar.
    f32 x, width;
    u8 close_armed;
    u8 close_requested;
    u8 dragging;
    f32 drag_offset;
    i32 move_request;  // -1, 0 or +1
};

// A file id and the index of its record in tab_paths, for sorting by id.
struct IdPath {
    i32 id;
    i32 index;
};

struct ProjectState {
    Array<TabEntry> tab_entries;
};


// Strings owned by the project (tab_paths paths, node names, tab labels) live in
// pool_project, which project_reset empties; the arrays themselves (tab_paths, the
// file tree's rows, tab_entries) live in pool_main and keep their storage from one
// project to the next.
void project_reset(StringView path);
void project_load(StringView path);
void project_save(StringView path);
void project_add_file(StringView path);
// The project file's name (after its last separator).
StringView project_file_name();
// The document slot of a tab entry, or -1.
i64 tab_entry_slot(const TabEntry& entry);

// The project file's text for the present project (pool_frame, or for a very large
// project a buffer that the next call reuses). Its data is null when there is no room.
// Line breaks inside labels, paths and names are dropped: they would split a line.
StringView project_file_text();

// A name without its line breaks: a label, path or name holding "\n" or "\r" would
// split a line of the project file. Returns `name` itself when it has none, else a
// copy without them in `pool`.
StringView sanitize_node_name(StringView name, u8 pool);

// What reading a project file's bytes found besides the entries it stored.
struct ProjectFileSummary {
    i64 largest_id;            // over node, file and tab ids; 0 when there are none
    StringView sources_name;   // of the last "sources" line
    bool has_sources;
    bool invalid;              // reading stopped at an unknown section word
};
// Most files, and most nodes, a project file may give; more make it invalid there.
constexpr i64 project_section_limit = 1 << 20;
// Reads the sections of a project file into the (reset) project: tab slots and tab
// entries, tab_paths and the file tree's rows. The stored strings point into `bytes`,
// which must live as long as the project does (pool_project). Node colours and icons
// are left to project_colour_nodes.
ProjectFileSummary project_parse(StringView bytes);
// Gives every node its icon and colour: groups the folder colour, files the colour of
// their path's ending.
void project_colour_nodes();
