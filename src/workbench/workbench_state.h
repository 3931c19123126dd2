#pragma once
// State of the workbench frame shared by its source files: layout values, the toolbar
// and dialog buttons, the dialogs, the context menu and the pointer trail.
#include "core/string_view.h"
#include "editor/document.h"
#include "render/color.h"

struct Font;

// The button widget: the 12 toolbar buttons and the dialog buttons.
struct toolbar_button {
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
    toolbar_button ok, cancel;
    // Set when quitting waits on "save project": the loop ends once the dialog closes.
    bool quit_when_closed;
};

struct PromptState {
    bool open;
    i32 mode;  // 0 rename, 1 find, 2 replace, 3 goto line
    OwnedString title;  // pool_main
    Document box;
    toolbar_button ok, cancel;
};

struct ConfirmState {
    bool open;
    OwnedString text;  // pool_main
    i64 pending_close_tab;  // tab entry index, -1 for quitting
    i32 pending_tab_id;     // the entry's tab id, so that moved entries are still found
    toolbar_button yes, no, cancel;
};

struct SettingsState {
    bool open;
    Document box;
    toolbar_button ok, cancel;
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
    f32 sprite_size;     // 24
    f32 rotation_speed;  // pi radians per second
    f32 decay;           // 6 per second
};

struct WorkbenchState {
    f32 tree_width;      // 320
    f32 minimap_width;   // 320
    f32 bar_width;       // 12
    f32 toolbar_height;  // 48
    f32 tab_bar_height;  // 32
    f32 tab_scroll;      // 0 or negative: the bar's content moved left
    u8 dragging_left_bar, dragging_right_bar;
    f32 bar_grab_offset;
    u8 tab_bar_changed;  // an entry became active: scroll it into view
    i32 last_active_tab;
    WorkbenchLayout layout;
    toolbar_button buttons[toolbar_button_count];
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
};

extern WorkbenchState workbench;

// ---- Focus and dialogs ----------------------------------------------------------------
bool any_dialog_open();  // a dialog or the context menu
bool modal_dialog_open();  // a dialog (the context menu excluded)
// Takes keyboard focus from the editor, the file tree and the minimap.
void workbench_take_focus();
// Gives it back to all three when no dialog or menu is open any more.
void workbench_give_focus_back();
// Centred box of a dialog, filled and titled.
Rect dialog_frame(f32 width, f32 height, StringView title);
// A one-line box inside a dialog: placed, focused and drawn by the editor view.
void dialog_text_box(Document* box, f32 x, f32 y, f32 width, f32 height);
void dialog_button_init(toolbar_button* b, StringView label);
// Lays out and runs a dialog button; true on a click.
bool dialog_button(toolbar_button* b, f32 x, f32 y);

// ---- Widgets and steps of the frame -----------------------------------------------------
void compute_layout(WorkbenchLayout* l);
bool point_in_rect(Rect r, f64 x, f64 y);
// Draws the button and handles its input (none when `accepts_input` is false); true on a click.
bool button_frame(toolbar_button* b, bool accepts_input);

void draw_background_image();
void run_shortcuts();
void toolbar_init();
void run_toolbar();
void run_resize_bars();
void run_editor_focus();
void run_file_tree();
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
void append_new_group();
void save_all_documents();
bool any_document_modified();
bool any_node_selected();
void rename_selected_nodes(StringView name);
void copy_selected_file_names();
void save_project_or_ask();
// Refreshes the file dialog's listing from its base and sub-directory.
void file_dialog_refresh();
// Enters directory row `index` of the listing, or puts a file row's name in the box.
void file_dialog_pick(i64 index);
StringView listing_name(i64 index);
// The chosen path of the file dialog for the box text `text`, in pool_frame.
StringView file_dialog_chosen_path(StringView text);
void file_dialog_submit();
void close_file_dialog();
