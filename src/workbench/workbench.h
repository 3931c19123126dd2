#pragma once
// The frame around the editor: toolbar, panels, tab bar, dialogs.
#include "core/string_view.h"
#include "core/types.h"

void workbench_init();
void workbench_frame();
// The yes/no/cancel dialog; `pending_tab` is the tab entry waiting on it, -1 for quitting.
void open_confirm_dialog(StringView text, i64 pending_tab);
