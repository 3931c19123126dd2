#include "editor/recovery.h"

#include <cstdio>

#include "core/core_state.h"
#include "core/project_path.h"
#include "editor/edit.h"
#include "editor/editor_state.h"
#include "editor/file_io.h"
#include "editor/recovery_file.h"
#include "editor/text_change.h"
#include "platform/platform.h"
#include "editor/recolour.h"


namespace {
constexpr i64 path_capacity = 4096;
// A write buffer at least this large gives its pages back after each write.
constexpr i64 idle_buffer_given_back = (i64)1 << 20;

// A path built on the stack: recovery must work after an arena ran out.
struct PathText {
    char text[2 * path_capacity + 64];
    i64 length;
    bool ok;
};

void path_put(PathText* p, StringView s) {
    if (!p->ok || s.length < 0 || s.length > (i64)sizeof p->text - p->length) {
        p->ok = false;
        return;
    }
    if (s.length > 0) memcpy(p->text + p->length, s.data, (size_t)s.length);
    p->length += s.length;
}

StringView path_view(const PathText& p) { return p.ok ? StringView{p.text, p.length} : StringView{nullptr, 0}; }

// The project file's absolute path; empty without a project.
StringView project_key(char* buffer) {
    StringView p = owned_view(core.project_path);
    if (p.length <= 0) return StringView{nullptr, 0};
    return path_absolute(p, buffer, path_capacity);
}

StringView document_key_of_path(StringView relative, char* buffer) {
    return absolute_document_path(relative, buffer, path_capacity);
}

// A tab without a path is known by its project and tab id.
StringView pathless_key(StringView project, u32 id, char* buffer) {
    i64 n = snprintf(buffer, (size_t)path_capacity, "%.*s#tab%u", (int)project.length, project.data ? project.data : "",
                     (unsigned)id);
    return n > 0 && n < path_capacity ? StringView{buffer, n} : StringView{nullptr, 0};
}

struct Keys {
    char project_buffer[path_capacity];
    char document_buffer[path_capacity];
    StringView project, document;
};

void keys_of_document(const Document* doc, Keys* k) {
    k->project = project_key(k->project_buffer);
    if (doc->path.length > 0) k->document = document_key_of_path(owned_view(doc->path), k->document_buffer);
    else k->document = pathless_key(k->project, doc->id, k->document_buffer);
}

void keys_of_path(StringView relative, Keys* k) {
    k->project = project_key(k->project_buffer);
    k->document = document_key_of_path(relative, k->document_buffer);
}

PathText file_path_of_name(const char* name) {
    PathText p{};
    p.ok = true;
    path_put(&p, StringView{editor.recovery.directory, editor.recovery.directory_length});
    path_put(&p, SV("/"));
    path_put(&p, StringView{name, recovery_file_name_length});
    return p;
}

StringView name_of_path(const char* path) {
    i64 n = (i64)strlen(path);
    return n >= recovery_file_name_length ? StringView{path + n - recovery_file_name_length, recovery_file_name_length}
                                          : StringView{nullptr, 0};
}

void say(StringView prefix, StringView path) {
    printf("%.*s%.*s\n", (int)prefix.length, prefix.data, (int)path.length, path.data ? path.data : "");
    fflush(stdout);
}

// The text as the store holds it: the bytes before its gap and after it (no copy, no
// move: this also runs after an arena ran out).
void text_pieces(const Document* doc, StringView* parts) {
    const TextStore* s = &doc->text;
    parts[0] = StringView{(const char*)s->bytes, s->bytes ? s->gap_start : 0};
    parts[1] = StringView{(const char*)s->bytes + s->gap_end, s->bytes ? s->capacity - s->gap_end : 0};
}

bool write_job(const RecoveryJob& job, StringView bytes) {
    i64 keys = job.document_length + job.project_length;
    if (job.document_length < 0 || job.project_length < 0 || keys > bytes.length) return false;
    StringView document{bytes.data, job.document_length};
    StringView project{bytes.data + job.document_length, job.project_length};
    StringView text = sv_slice(bytes, keys, bytes.length);
    char header[recovery_header_capacity];
    i64 header_length = recovery_header_parts(header, sizeof header, document, project, &text, 1);
    if (header_length < 0) return false;
    StringView parts[2] = {StringView{header, header_length}, text};
    return file_save_atomic_parts(sv_from_cstr(job.path), parts, 2) == save_ok;
}

bool run_job(const RecoveryJob& job, StringView bytes) {
    if (job.kind == recovery_job_write) return write_job(job, bytes);
    StringView path = sv_from_cstr(job.path);
    return file_remove(path) || !file_stamp(path).exists;
}

i64 worker_main(void*) {
    RecoveryState& r = editor.recovery;
    for (;;) {
        mutex_lock(r.lock);
        if (r.stop) {
            mutex_unlock(r.lock);
            return 0;
        }
        if (!r.job_pending) {
            mutex_unlock(r.lock);
            signal_wait(r.wake, -1);
            continue;
        }
        RecoveryJob job = r.job;
        r.job_pending = false;
        r.busy = true;
        StringView bytes{(const char*)r.job_bytes.data, r.job_bytes.count};
        mutex_unlock(r.lock);
        bool ok = run_job(job, bytes);
        mutex_lock(r.lock);
        r.busy = false;
        r.result = job;
        r.result_ok = ok;
        r.result_ready = true;
        mutex_unlock(r.lock);
    }
}

bool worker_idle() {
    RecoveryState& r = editor.recovery;
    if (!r.threaded) return true;
    mutex_lock(r.lock);
    bool idle = !r.busy && !r.job_pending && !r.result_ready;
    mutex_unlock(r.lock);
    return idle;
}

// Hands the prepared job (and job_bytes for a write) to the worker, or runs it now.
void post_job() {
    RecoveryState& r = editor.recovery;
    if (!r.threaded) {
        bool ok = run_job(r.job, StringView{(const char*)r.job_bytes.data, r.job_bytes.count});
        r.result = r.job;
        r.result_ok = ok;
        r.result_ready = true;
        return;
    }
    mutex_lock(r.lock);
    r.job_pending = true;
    mutex_unlock(r.lock);
    signal_post(r.wake);
}

bool set_job_path(const char* name) {
    PathText p = file_path_of_name(name);
    if (!p.ok || p.length >= (i64)sizeof editor.recovery.job.path) return false;
    memcpy(editor.recovery.job.path, p.text, (size_t)p.length);
    editor.recovery.job.path[p.length] = 0;
    return true;
}

void queue_removal(StringView name) {
    RecoveryState& r = editor.recovery;
    if (name.length != recovery_file_name_length) return;
    for (i32 i = 0; i < r.removal_count; i++)
        if (memcmp(r.removals[i], name.data, (size_t)name.length) == 0) return;
    if (r.removal_count == (i32)(sizeof r.removals / sizeof r.removals[0])) {
        // A long queue is unusual (many tabs discarded at once): remove the oldest now.
        PathText p = file_path_of_name(r.removals[0]);
        if (p.ok) {
            p.text[p.length] = 0;
            file_remove(path_view(p));
        }
        memmove(r.removals[0], r.removals[1], sizeof r.removals - sizeof r.removals[0]);
        r.removal_count--;
    }
    memcpy(r.removals[r.removal_count], name.data, (size_t)name.length);
    r.removal_count++;
}

void report_failure(StringView path) {
    RecoveryState& r = editor.recovery;
    if (r.failure_reported) return;
    r.failure_reported = true;
    say(SV("failed to write recovery file: "), path);
    string_assign(&r.message, string_concat(SV("failed to write recovery file: "), path, pool_frame), pool_main);
}

void take_result(f64 now) {
    RecoveryState& r = editor.recovery;
    if (r.threaded) mutex_lock(r.lock);
    bool ready = r.result_ready;
    RecoveryJob job = r.result;
    bool ok = r.result_ok;
    r.result_ready = false;
    if (r.threaded) mutex_unlock(r.lock);
    if (!ready) return;
    if (job.kind == recovery_job_remove) return;
    Document* doc = tab_slot_used(job.slot) ? &editor.tab_table.slots[job.slot] : nullptr;
    if (doc && doc->id != job.doc_id) doc = nullptr;
    if (!ok) {
        report_failure(sv_from_cstr(job.path));
        r.retry_after = now + recovery_retry_interval;
        return;
    }
    r.failure_reported = false;
    // The copy of a large text is not kept resident between writes.
    if (job.kind == recovery_job_write && r.job_bytes.capacity >= idle_buffer_given_back)
        pool_give_back_block(r.job_bytes.data, r.job_bytes.capacity);
    // A document that closed meanwhile leaves nothing behind.
    if (!doc) {
        queue_removal(name_of_path(job.path));
        return;
    }
    doc->recovery_state_id = job.state_id;
    doc->recovery_present = 1;
}

bool post_write(Document* doc, i64 slot, f64 now) {
    RecoveryState& r = editor.recovery;
    Keys k;
    keys_of_document(doc, &k);
    char name[32];
    recovery_file_name(name, k.project, k.document);
    i64 text_length = document_length(doc);
    doc->recovery_time = now;
    // The keys are checked here (a header of no text), the text's checksum on the worker.
    char header[recovery_header_capacity];
    if (recovery_header_parts(header, sizeof header, k.document, k.project, nullptr, 0) < 0 || !set_job_path(name))
        return false;
    // After a failure the directory may have gone (or never been made): try again.
    if (r.failure_reported) directory_create_all(StringView{r.directory, r.directory_length}, 0700);
    i64 keys = k.document.length + k.project.length;
    i64 total = keys + text_length;
    r.job_bytes.pool = pool_main;
    if (total > r.job_bytes.capacity && total * 2 > pool_available(pool_main) - document_memory_margin) {
        report_failure(sv_from_cstr(r.job.path));
        return false;
    }
    array_reserve(&r.job_bytes, total);
    memcpy(r.job_bytes.data, k.document.data, (size_t)k.document.length);
    if (k.project.length > 0) memcpy(r.job_bytes.data + k.document.length, k.project.data, (size_t)k.project.length);
    store_copy_out(&doc->text, 0, text_length, r.job_bytes.data + keys);
    r.job_bytes.count = total;
    r.job.document_length = k.document.length;
    r.job.project_length = k.project.length;
    r.job.kind = recovery_job_write;
    r.job.slot = slot;
    r.job.doc_id = doc->id;
    r.job.state_id = doc->state_id;
    post_job();
    return true;
}

void post_removal(StringView name) {
    char terminated[32];
    memcpy(terminated, name.data, (size_t)recovery_file_name_length);
    if (!set_job_path(terminated)) return;
    editor.recovery.job.kind = recovery_job_remove;
    editor.recovery.job.slot = -1;
    editor.recovery.job.doc_id = 0;
    editor.recovery.job.state_id = 0;
    editor.recovery.job_bytes.count = 0;
    post_job();
}

// The next piece of work: a waiting removal, a modified document whose file is behind,
// or a clean document whose file has to go.
void give_work(f64 now) {
    RecoveryState& r = editor.recovery;
    if (r.removal_count > 0) {
        r.removal_count--;
        post_removal(StringView{r.removals[r.removal_count], recovery_file_name_length});
        return;
    }
    if (!editor.tab_table.slots) return;
    for (i64 k = 0; k < tab_slot_count; k++) {
        i64 slot = (r.next_slot + k) % tab_slot_count;
        if (!tab_slot_used(slot)) continue;
        Document* doc = &editor.tab_table.slots[slot];
        if (doc->dirty && doc->state_id != doc->recovery_state_id) {
            if (now < r.retry_after || now - doc->recovery_time < recovery_write_interval) continue;
            r.next_slot = slot + 1;
            post_write(doc, slot, now);
            return;
        }
        if (!doc->dirty && doc->recovery_present) {
            r.next_slot = slot + 1;
            char name[32];
            recovery_name_of(doc, name);
            doc->recovery_present = 0;
            doc->recovery_state_id = 0;
            post_removal(StringView{name, recovery_file_name_length});
            return;
        }
    }
}

void stop_worker() {
    RecoveryState& r = editor.recovery;
    if (!r.threaded) return;
    mutex_lock(r.lock);
    r.stop = true;
    mutex_unlock(r.lock);
    signal_post(r.wake);
    thread_wait(r.thread, 0);
    r.threaded = false;
    r.job_pending = false;
    r.busy = false;
}

bool write_now(const Document* doc) {
    Keys k;
    keys_of_document(doc, &k);
    char name[32];
    recovery_file_name(name, k.project, k.document);
    char header[recovery_header_capacity];
    StringView pieces[2];
    text_pieces(doc, pieces);
    i64 header_length = recovery_header_parts(header, sizeof header, k.document, k.project, pieces, 2);
    PathText p = file_path_of_name(name);
    if (header_length < 0 || !p.ok) return false;
    StringView parts[3] = {StringView{header, header_length}, pieces[0], pieces[1]};
    return file_save_atomic_parts(path_view(p), parts, 3) == save_ok;
}

// The whole recovery file into read_buffer; empty on failure.
StringView read_recovery_file(StringView path, i64 size) {
    RecoveryState& r = editor.recovery;
    if (size < 0 || size > pool_available(pool_main) / 4) return StringView{nullptr, 0};
    r.read_buffer.pool = pool_main;
    array_reserve(&r.read_buffer, size > 0 ? size : 1);
    FileHandle f = file_open(path, file_mode_read);
    if (file_failed(f)) return StringView{nullptr, 0};
    i64 read = file_read(f, size, r.read_buffer.data);
    file_close(f);
    return StringView{r.read_buffer.data, read};
}

bool replace_text(Document* doc, StringView text) {
    undo_checkpoint(doc, edit_structural);
    i32 cursor = doc->cursor;
    if (!text_replace_all(doc, text)) return false;
    doc->cursor = doc->anchor = cursor < (i32)document_length(doc) ? cursor : (i32)document_length(doc) - 1;
    if (doc->cursor < 0) doc->cursor = doc->anchor = 0;
    doc->last_edit_kind = edit_structural;
    document_mark_changed(doc);
    recolour_document(doc);
    return true;
}
}  // namespace

void recovery_init(StringView directory, bool threaded) {
    RecoveryState& r = editor.recovery;
    recovery_shutdown();
    r.enabled = false;
    if (directory.length <= 0 || directory.length >= (i64)sizeof r.directory) return;
    memcpy(r.directory, directory.data, (size_t)directory.length);
    r.directory[directory.length] = 0;
    r.directory_length = directory.length;
    if (!directory_create_all(directory, 0700))
        say(SV("recovery directory cannot be made (writes will be retried): "), directory);
    r.removal_count = 0;
    r.next_slot = 0;
    r.failure_reported = false;
    r.retry_after = 0;
    r.message.length = 0;
    r.result_ready = r.job_pending = r.busy = r.stop = false;
    r.enabled = true;
    r.threaded = false;
    if (!threaded) return;
    if (!r.lock) r.lock = mutex_create();
    if (!r.wake) r.wake = signal_create();
    r.thread = thread_create(worker_main, nullptr);
    r.threaded = r.thread.id != 0;
}

void recovery_shutdown() {
    RecoveryState& r = editor.recovery;
    stop_worker();
    if (r.enabled) {
        take_result(0);
        // Files of documents saved or given up just before the end go now.
        for (i64 slot = 0; editor.tab_table.slots && slot < tab_slot_count; slot++) {
            if (!tab_slot_used(slot)) continue;
            Document* doc = &editor.tab_table.slots[slot];
            if (doc->dirty || !doc->recovery_present) continue;
            char name[32];
            recovery_name_of(doc, name);
            queue_removal(StringView{name, recovery_file_name_length});
            doc->recovery_present = 0;
        }
        for (i32 i = 0; i < r.removal_count; i++) {
            PathText p = file_path_of_name(r.removals[i]);
            if (p.ok) file_remove(path_view(p));
        }
    }
    r.removal_count = 0;
    r.enabled = false;
    r.stop = false;
}

void recovery_step(f64 now) {
    if (!editor.recovery.enabled) return;
    take_result(now);
    if (!worker_idle()) return;
    give_work(now);
    // Without a worker the job has run already: its result counts in this step.
    if (!editor.recovery.threaded) take_result(now);
}

void recovery_discard(const Document* doc) {
    if (!editor.recovery.enabled) return;
    char name[32];
    recovery_name_of(doc, name);
    queue_removal(StringView{name, recovery_file_name_length});
}

void recovery_discard_named(StringView name) {
    if (editor.recovery.enabled) queue_removal(name);
}

void recovery_write_all_now() {
    RecoveryState& r = editor.recovery;
    if (!r.enabled) return;
    stop_worker();
    for (i32 i = 0; i < r.removal_count; i++) {
        PathText p = file_path_of_name(r.removals[i]);
        if (p.ok) file_remove(path_view(p));
    }
    r.removal_count = 0;
    if (!editor.tab_table.slots) return;
    for (i64 slot = 0; slot < tab_slot_count; slot++) {
        if (!tab_slot_used(slot)) continue;
        Document* doc = &editor.tab_table.slots[slot];
        if (!doc->dirty) continue;
        if (!write_now(doc)) say(SV("failed to write the recovery file of "), owned_view(doc->path));
    }
}

StringView recovery_take_message() {
    StringView m = owned_view(editor.recovery.message);
    editor.recovery.message.length = 0;
    return m;
}

void recovery_name_of(const Document* doc, char* out) {
    Keys k;
    keys_of_document(doc, &k);
    recovery_file_name(out, k.project, k.document);
}

void recovery_name_of_path(StringView relative, char* out) {
    Keys k;
    keys_of_path(relative, &k);
    recovery_file_name(out, k.project, k.document);
}

bool recovery_exists_for_path(StringView relative) {
    if (!editor.recovery.enabled) return false;
    char name[32];
    recovery_name_of_path(relative, name);
    PathText p = file_path_of_name(name);
    return p.ok && file_stamp(path_view(p)).exists;
}

RecoveryFound recovery_restore(Document* doc) {
    if (!editor.recovery.enabled) return recovery_none;
    Keys k;
    keys_of_document(doc, &k);
    char name[32];
    recovery_file_name(name, k.project, k.document);
    PathText p = file_path_of_name(name);
    if (!p.ok || k.document.length <= 0) return recovery_none;
    FileStamp stamp = file_stamp(path_view(p));
    if (!stamp.exists) return recovery_none;
    if (!stamp.is_regular) return recovery_unreadable;
    RecoveryContent content;
    StringView bytes = read_recovery_file(path_view(p), stamp.size);
    if (!recovery_parse(bytes, &content)) return recovery_unreadable;
    // Another document whose names hash alike is none of this one's business.
    if (!sv_equal(content.document, k.document) || !sv_equal(content.project, k.project)) return recovery_none;
    if (doc->disk_stamp.exists && doc->disk_stamp.mtime_ns >= stamp.mtime_ns) return recovery_older;
    if (sv_equal(content.text, document_text(doc))) {
        // Nothing to bring back: the file goes once the (clean) document is looked at.
        doc->recovery_present = 1;
        return recovery_none;
    }
    if (!replace_text(doc, content.text)) return recovery_unreadable;
    doc->recovery_state_id = doc->state_id;
    doc->recovery_present = 1;
    doc->recovery_time = 0;
    return recovery_restored;
}

void recovery_list_kept(StringView in_use) {
    RecoveryState& r = editor.recovery;
    if (!r.enabled) return;
    r.listed_names.pool = pool_main;
    DirectoryContent content = directory_get_content(StringView{r.directory, r.directory_length}, pool_frame);
    for (StringView file : content.files) {
        if (file.length != recovery_file_name_length || !ends_with(file, recovery_file_ending)) continue;
        bool skip = false;
        for (i64 i = 0; i + recovery_file_name_length <= in_use.length && !skip; i += recovery_file_name_length)
            skip = memcmp(in_use.data + i, file.data, (size_t)file.length) == 0;
        for (i64 i = 0; i + recovery_file_name_length <= r.listed_names.count && !skip; i += recovery_file_name_length)
            skip = memcmp(r.listed_names.data + i, file.data, (size_t)file.length) == 0;
        if (skip) continue;
        for (i64 i = 0; i < file.length; i++) array_append(&r.listed_names, file.data[i]);
        char name[32];
        memcpy(name, file.data, (size_t)file.length);
        PathText p = file_path_of_name(name);
        char header[recovery_header_capacity];
        FileHandle f = file_open(path_view(p), file_mode_read);
        i64 read = file_failed(f) ? 0 : file_read(f, (i64)sizeof header, header);
        file_close(f);
        RecoveryContent found;
        if (recovery_parse_header(StringView{header, read}, &found)) {
            printf("recovery file kept: %.*s (unsaved changes of %.*s)\n", (int)p.length, p.text,
                   (int)found.document.length, found.document.data);
        } else {
            printf("unreadable recovery file kept: %.*s\n", (int)p.length, p.text);
        }
        fflush(stdout);
    }
}
