#pragma once
// State of the workbench frame shared by its source files: layout values, the toolbar
// and dialog buttons, the dialogs, the context menu and the pointer trail.
#include "core/string_view.h"
#include "editor/document.h"
#include "render/color.h"
#include "workbench/project.h"
#include "workbench/tree_node.h"

struct Font;

// The button widget: the 12 toolbar buttons and the dialog buttons.
struct ToolbarButton {
    StringView label;
    f32 x, y, width, height;
    u32 icon;
    Color icon_color;
    Color label_color;
    Font* font;
    f32 text_scale;
    u8 has_icon;
    u8 disabled;
    u8 held;
};

struct Rect {
    f32 x, y, width, height;
};

// The regions of this frame, from the window size and the layout values.
struct WorkbenchLayout {
    f32 width, height;
    Rect toolbar, tree, left_bar, tab_bar, editor, right_bar, minimap;
};

struct ContextMenuEntry {
    StringView label;
    StringView command;
};

// One point of the pointer trail (12 bytes: sorted by life).
struct TrailPoint {
    f32 x, y;
    f32 life;
};
static_assert(sizeof(TrailPoint) == 12, "TrailPoint is a 12-byte record");

// A row of the file dialog's listing; the name lives in the listing's byte store.
struct ListingEntry {
    i64 offset, length;
    u8 is_directory;
};

constexpr i32 toolbar_button_count = 12;
constexpr f64 tooltip_delay = 0.5;  // seconds of hover before a button shows its name
constexpr i32 trail_point_count = 1024;
constexpr i32 context_menu_capacity = 8;
constexpr f32 dialog_button_width = 128;
constexpr f32 dialog_button_height = 32;
constexpr f32 context_menu_width = 320;
constexpr f32 context_menu_row_height = 32;
constexpr f32 listing_row_height = 24;
constexpr f32 listing_wheel_step = 16;

struct FileDialogState {
    bool open;
    i32 mode;  // 0..5
    bool relative;
    OwnedString title;          // pool_main
    OwnedString sub_directory;  // below the listing base; empty at the base
    Document box;
    // Listing: ".." (inside a sub-directory), directories, then files.
    Array<ListingEntry> entries;  // pool_main, reused
    Array<char> names;            // pool_main, reused
    f32 scroll;
    ToolbarButton ok, cancel;
    // "save file" (mode 5): the tab id of the document to save, -1 for the current one.
    i32 target_doc_id;
};

struct PromptState {
    bool open;
    i32 mode;  // 0 rename, 1 find, 2 replace, 3 goto line, 4 search in project, 5 go to file or symbol
    OwnedString title;  // pool_main
    Document box;
    ToolbarButton ok, cancel;
    // Replace: the replacement's box, which of the two boxes types (0 or 1), and the
    // buttons that replace one match or all of them.
    Document replacement;
    i32 focus;
    ToolbarButton replace_one, replace_every;
    // Find and replace: "k of n", counted again when the text or the document changes.
    u64 counted_text_state, counted_document_state;
    i32 counted_cursor;
    i64 match_total, match_index;
};

// What the question of the confirmation dialog is about.
enum ConfirmKind : u8 {
    confirm_unsaved,    // the pending action (quit, switch project, close a tab) meets unsaved work
    confirm_reload,     // a modified document's file changed on disk: "reload" / "keep mine"
    confirm_overwrite,  // saving over a file another program changed: "overwrite" / "cancel"
};

struct ConfirmState {
    bool open;
    u8 kind;           // ConfirmKind
    OwnedString text;  // pool_main
    i32 doc_id;        // the document of a reload or overwrite question (tab id)
    // The three buttons from left to right; with two, the middle one is not shown.
    i32 button_count;
    ToolbarButton yes, no, cancel;
};

// Something the user asked for that waits until unsaved work is saved or given up:
// the questions and dialogs it needs come one after the other, and it runs at the end.
enum PendingKind : u8 {
    pending_none,
    pending_quit,
    pending_new_project,
    pending_open_project,
    pending_close_tab,
    pending_save_one,      // save one document (no action after)
    pending_save_all,      // save every document (no action after)
    pending_save_project,  // save every document and the project file
};

struct PendingAction {
    u8 kind;           // PendingKind
    i32 tab_id;        // pending_close_tab
    OwnedString path;  // the project of new/open project; pool_main
};

// Short messages shown over the bottom of the editor without stopping the user.
constexpr i32 notice_capacity = 4;
constexpr f32 notice_seconds = 10;
struct NoticeState {
    OwnedString texts[notice_capacity];  // pool_main, reused
    f64 expires[notice_capacity];        // workbench clock
    i32 count;
};

// Which outline groups are open, by name, so that a new analysis result keeps what the
// user opened and closed. Two stores take turns: each rewrite keeps only live names.
struct OutlineGroupState {
    i64 offset, length;
    u8 open;
};
struct OutlineGroups {
    Array<char> names[2];
    Array<OutlineGroupState> states[2];
    i32 current;
};

// The look for files that other programs changed: on focus and every few seconds.
constexpr f64 disk_check_interval = 2.0;
struct DiskWatchState {
    f64 last_check;
    i32 asked_doc_id;  // the document whose reload question is open, -1 when none
};

struct SettingsState {
    bool open;
    Document box;
    ToolbarButton ok, cancel;
};

struct ContextMenuState {
    bool open;
    f32 x, y;  // top-left corner of the column
    const ContextMenuEntry* entries;
    i32 entry_count;
    i32 pressed;  // entry under a held press, -1 when none
};

struct TrailState {
    TrailPoint points[trail_point_count];
    f32 angle;
    f32 last_x, last_y;  // where the pointer star was drawn last
    f32 sprite_size;     // 24
    f32 rotation_speed;  // pi radians per second
    f32 decay;           // 6 per second
};

// Room for the code: each side panel takes a share of the window, shrinking to leave the
// editor its wanted columns while both panels keep their least width, and giving way
// entirely before the editor gets fewer than its least columns.
constexpr f32 panel_share = 0.2f;
constexpr i64 editor_wanted_columns = 80;
constexpr i64 editor_least_columns = 20;
constexpr f32 panel_least_width = 180;  // times the scale: a row's icons and a short name
// The editor's own sizes at scale 1, which tabs get multiplied by the scale.
constexpr f32 editor_scrollbar_width = 32;
constexpr f32 editor_caret_width = 6;

// Places left by going to a definition or a listed place, for Alt+Left and Alt+Right:
// a ring of the last places (paths in pool_main, each slot's storage reused).
constexpr i32 navigation_history_size = 100;
struct NavigationPlace {
    OwnedString path;
    i64 line, column;
};
struct NavigationState {
    NavigationPlace places[navigation_history_size];
    i64 first;    // the oldest place kept, counted from the start of the session
    i64 current;  // where Alt+Left would step from: the places before it lie behind
    i64 end;      // one past the newest place
    // F2 or Shift+F2 asked while the last result was made from an older text: answered
    // when the result of the present text comes, unless the caret moves first.
    u8 waiting;  // 0, 1 definition, 2 uses
    u32 waiting_doc;
    i32 waiting_cursor;
};

struct WorkbenchState {
    f32 scale;           // every size of the workbench is multiplied by it
    // A folder opened as a project: where its project file goes unless the user says
    // otherwise (the save dialog starts with it); empty otherwise. pool_main.
    OwnedString unnamed_project_name;
    f32 tree_width;      // as laid out this frame
    f32 minimap_width;
    // Widths the user dragged the bars to; negative while a panel follows its share.
    f32 tree_chosen, minimap_chosen;
    bool panels_hidden;  // Ctrl+Shift+B: both panels and their bars out of the way
    f32 bar_width;       // 12
    f32 toolbar_height;  // 48
    f32 tab_bar_height;  // 32
    f32 tab_scroll;      // 0 or negative: the bar's content moved left
    u8 dragging_left_bar, dragging_right_bar;
    f32 bar_grab_offset;
    u8 tab_bar_changed;  // an entry became active: scroll it into view
    i32 last_active_tab;
    i32 tree_followed_tab;  // the active tab whose file the tree last selected
    WorkbenchLayout layout;
    ToolbarButton buttons[toolbar_button_count];
    // The toolbar button under the pointer (-1: none), since when, and whether a press
    // put its name away.
    i32 tooltip_button;
    f64 tooltip_since;
    bool tooltip_dismissed;
    FileDialogState file_dialog;
    PromptState prompt;
    ConfirmState confirm;
    SettingsState settings;
    ContextMenuState menu;
    TrailState trail;
    // Labels of the entries added by open_tab, one per tab slot, reused by later tabs.
    OwnedString tab_labels[tab_slot_count];
    // Rename storage: two byte stores that take turns, so that renaming again and again
    // keeps only the live names.
    Array<char> rename_store[2];
    i32 rename_current;
    OwnedString workspace;  // pool_main
    bool keep_system_cursor;
    // The project: its tab entries, whether its file holds what is shown, and the file
    // tree whose rows are its nodes.
    ProjectState project;
    bool project_saved;
    ListWidget file_tree;
    // Scratch kept from one use to the next (pool_main): rows being reordered, a large
    // project file's text, the id table that colours the nodes.
    Array<TreeNode> reordered_rows;
    Array<char> project_text;
    Array<IdPath> node_ids, node_ids_scratch;
    PendingAction pending;
    // The outline panel (right): rows made from the last analysis result.
    ListWidget outline;
    OutlineGroups outline_groups;
    NavigationState navigation;
    NoticeState notices;
    DiskWatchState disk;
    // Input frames leave the recovery step to the next frame, since this clock at most a
    // quarter of a second.
    bool recovery_deferred;
    f64 recovery_deferred_since;
    // Set when the program may end (nothing unsaved, or the user said so); the shell
    // ends the loop after the frame.
    bool quit_confirmed;
    // Seconds since start, from the performance counter (animations use frame_time).
    f64 clock;
};

extern WorkbenchState workbench;

// ---- Focus and dialogs ----------------------------------------------------------------
bool any_dialog_open();  // a dialog or the context menu
bool modal_dialog_open();  // a dialog (the context menu excluded)
// Takes keyboard focus from the editor, the file tree and the minimap.
void workbench_take_focus();
// Gives it back to all three when no dialog or menu is open any more.
void workbench_give_focus_back();
// The theme's panel colour without its transparency: dialogs and pop-ups hide what is behind.
Color opaque_panel_color();
// Centred box of a dialog (its size before scaling), filled and titled.
Rect dialog_frame(f32 width, f32 height, StringView title);
// A one-line box inside a dialog: placed, focused and drawn by the editor view (which
// leaves this frame's keys alone unless `takes_keys`).
void dialog_text_box(Document* box, f32 x, f32 y, f32 width, f32 height, bool takes_keys = true);
void dialog_button_init(ToolbarButton* b, StringView label);
// Lays out and runs a dialog button; true on a click.
bool dialog_button(ToolbarButton* b, f32 x, f32 y);

// The theme colour a file's name is drawn in, by its kind (tree, tabs, file dialogs).
Color file_color_for_path(StringView path);

// ---- Widgets and steps of the frame -----------------------------------------------------
void compute_layout(WorkbenchLayout* l);
// The panels' widths for this window: shares, the user's choices and the editor's room.
void fit_panel_widths();
void toggle_side_panels();
// Width of each bar between the panels (none while the panels are hidden).
f32 workbench_bar_width();
// Width the editor needs to show `columns` characters of the current document.
f32 editor_width_for_columns(i64 columns);
// The performance counter in seconds (the workbench clock).
f64 workbench_seconds();
bool point_in_rect(Rect r, f64 x, f64 y);
// Draws the button and handles its input (none when `accepts_input` is false); true on a click.
bool button_frame(ToolbarButton* b, bool accepts_input);

void draw_background_image();
void run_shortcuts();
// F2, Shift+F2, Alt+Left and Alt+Right; and Ctrl+click, after the editor placed the caret.
void run_navigation_keys();
// A go-to asked before the result of the present text came: answered once it is taken.
void run_waiting_navigation();
void run_ctrl_click();
void toolbar_init();
void run_toolbar();
// The name and shortcut of toolbar button `index`.
StringView toolbar_tooltip(i32 index);
void run_tooltip();
void run_resize_bars();
void run_editor_focus();
void run_file_tree();
// Takes a posted analysis result for the current document and makes the outline rows.
void run_analysis_result();
void run_minimap();
void run_editor_region();
void run_tab_bar();
void clear_minimap_without_document();
void run_settings_dialog();
void run_context_menu();
void run_confirm_dialog();
void run_prompt();
void run_file_dialog();
void trail_init();
void run_pointer_trail();

// ---- Commands -------------------------------------------------------------------------
void open_context_menu_at(const ContextMenuEntry* entries, i32 count, f64 x, f64 y);
void open_editor_context_menu(Document* doc);
void open_settings_dialog();
void close_tab_popups(Document* doc);
// A tab's document opens at the workbench's scale (its slot may keep an earlier tab's
// zoom): its text, caret and scrollbar.
void document_take_scale(Document* doc);
// Selects the file tree's row of the file with this tab id, alone; revealing also opens
// the groups around it and scrolls it into view.
void tree_select_file(i32 tab_id, bool reveal);
// Ctrl+Shift+E: the active tab's file, revealed in the tree.
void reveal_active_file();
void append_new_group();
void save_all_documents();
bool any_document_modified();
bool any_node_selected();
// The name of the first selected tree row (a file or a group), empty when none.
StringView first_selected_node_name();
void rename_selected_nodes(StringView name);
void copy_selected_file_names();
void save_project_or_ask();

// ---- Unsaved work -------------------------------------------------------------------------
bool any_unsaved_work();
// Cancels every dialog and the context menu (the answer a "cancel" would give).
void close_all_dialogs();
// Quit, new project or open project: runs at once when nothing is unsaved, else asks.
// Save all and save project: saves, asking only for what each save needs.
void request_action(u8 kind, StringView path);
// A modified tab's close: asks whether to save it first.
void request_close_tab(i32 tab_id);
// Saves a document the user asked to save: asks for a path or before overwriting a file
// that changed on disk. True when it is saved (or did not need saving).
bool save_document_interactive(Document* doc);
// Saving the document named by the "save file" dialog under `chosen`.
bool save_document_as(Document* doc, StringView chosen);
// The pending action goes on (after a dialog it waited for succeeded) or is given up.
void continue_pending();
void cancel_pending();
// "discard": the pending action runs without saving; the changes it drops lose their
// recovery files.
void discard_pending_work();
// The dialogs of a pending action or a save: answers of the confirmation dialog.
void open_unsaved_question(StringView text, bool single_document);
void open_reload_question(Document* doc);
void open_overwrite_question(Document* doc);
void answer_confirm(i32 button);  // 0, 1, 2 from left to right
void run_escape();

// ---- Files changed on disk, notices, recovery ------------------------------------------------
void run_disk_watch();
void check_documents_on_disk();
void notice_show(StringView text);
void dismiss_notices();
void run_notices();
void run_recovery();

// The same for one document just opened in a tab.
void restore_recovered_document(Document* doc);
Document* document_of_tab(i32 tab_id);
// The open document holding the file `relative` names however it is spelled (other
// than `except`), or null; the index of the project's file record of it, or -1.
Document* open_document_of_path(StringView relative, const Document* except);
i64 project_record_of_path(StringView relative);
// Refreshes the file dialog's listing from its base and sub-directory.
void file_dialog_refresh();
// Enters directory row `index` of the listing, or puts a file row's name in the box.
void file_dialog_pick(i64 index);
StringView listing_name(i64 index);
// The chosen path of the file dialog for the box text `text`, in pool_frame: relative to
// the project's directory for the project's files, else as the shell reads it.
StringView file_dialog_chosen_path(StringView text);
// The path the box text names, for looking at the disk (pool_frame).
StringView file_dialog_full_path(StringView text);
// The directory the listing shows (pool_frame).
StringView file_dialog_directory();
// Shows the directory at `path` (absolute, or below the listing's base).
void file_dialog_enter_directory(StringView path);
// Tab: completes the name being typed as far as the names in its directory agree; true
// when the box changed.
bool file_dialog_complete(StringView text);
// "~" or "~/..." made into the home directory (pool_frame); other text as it is.
StringView expand_home(StringView text);
void file_dialog_submit();
void close_file_dialog();
