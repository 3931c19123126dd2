// Message boxes are recorded instead of shown, so tests can read what the user would.
#include <cstring>

#include "platform/headless/headless_internal.h"

namespace {

// The most recent boxes are kept; older ones drop out of the ring.
const i64 kept_boxes = 256;

RecordedMessageBox boxes[kept_boxes];
i64 box_count;

void copy_cut(char* destination, i64 capacity, StringView text) {
    i64 length = headless_utf8_prefix(text, capacity - 1);
    if (length > 0) memcpy(destination, text.data, (size_t)length);
    destination[length] = 0;
}

}  // namespace

void headless_messages_reset() { box_count = 0; }

void show_simple_message_box(u32, StringView title, StringView text) {
    RecordedMessageBox* box = &boxes[box_count % kept_boxes];
    copy_cut(box->title, (i64)sizeof(box->title), title);
    copy_cut(box->text, (i64)sizeof(box->text), text);
    box_count++;
}

i64 headless_message_box_count() { return box_count; }

// Null outside the boxes still kept (the last 256 shown since the last clear).
const RecordedMessageBox* headless_message_box(i64 index) {
    if (index < 0 || index >= box_count || index < box_count - kept_boxes) return nullptr;
    return &boxes[index % kept_boxes];
}

void headless_clear_message_boxes() { box_count = 0; }
