#pragma once
// Shared set-up for tests: arenas are reserved once per test binary; small file and tab
// helpers several suites use.
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "editor/document.h"
#include "editor/editor_state.h"
#include "memory/arena.h"
#include "platform/headless/headless.h"
#include "workbench/project.h"
#include "workbench/workbench_state.h"

inline void ensure_arenas() {
    if (!arenas_reserved()) arenas_reserve();
}

// The whole file, byte for byte; "<missing>" when it cannot be opened, so that a missing
// file never compares equal to an empty one.
inline std::string read_file(const std::string& path) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return "<missing>";
    std::string out;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
    fclose(f);
    return out;
}

// open_tab's hook, standing in for the tab bar: a new active entry per opened tab.
inline void record_tab_entry(u32 id, StringView label) {
    for (TabEntry& e : workbench.project.tab_entries) e.is_active = 0;
    TabEntry entry{};
    entry.tab_id = (i32)id;
    entry.label = string_copy(label, pool_project);
    entry.is_active = 1;
    array_append(&workbench.project.tab_entries, entry);
}

// The locks and the shared text buffer every recolouring and analysis needs, made once.
inline void ensure_analysis_locks() {
    ensure_arenas();
    if (!analysis.lock) analysis_locks_create();
    if (!analysis.source_cache.shared_text_buffer) source_cache_init();
}

// Documents opened as the workbench opens them: empty tab slots, opened tabs recorded as
// tab entries, and the dialogs' entry fields ready.
inline void set_up_project_editing() {
    ensure_analysis_locks();
    tab_table_init();
    editor.hooks = EditorHooks{};
    editor.hooks.add_tab_entry = record_tab_entry;
    for (Document* box : {&workbench.settings.box, &workbench.prompt.box, &workbench.file_dialog.box})
        if (!box->single_line) document_init_entry_field(box);
}

// Every message box shown so far on the headless back-end, as "title: text".
inline std::vector<std::string> shown_messages() {
    std::vector<std::string> out;
    for (i64 i = 0; i < headless_message_box_count(); i++) {
        const RecordedMessageBox* m = headless_message_box(i);
        out.push_back(std::string(m->title) + ": " + m->text);
    }
    return out;
}

// Runs tesmora-analyze from the source directory with `arguments`; its standard output.
inline std::string run_analyze(const std::string& binary, const std::string& arguments, int* status) {
    std::string command = "cd '" TESMORA_SOURCE_DIR "' && '" + binary + "' " + arguments;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        *status = -1;
        return "";
    }
    std::string output;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    *status = pclose(pipe);
    return output;
}
