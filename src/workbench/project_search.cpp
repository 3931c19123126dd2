// The project search's two sides. The main thread posts a request (the text, the options,
// the files, and the unsaved texts of open documents) and takes the matches each frame;
// the worker reads the files and searches them. Three request buffers take turns so that
// neither side ever writes one the other reads: the main thread fills `back`, posting
// swaps it with `posted`, and the worker swaps `posted` with `working` when it starts.
// Every block is taken from pool_main by the main thread; the worker allocates nothing.
#include "workbench/project_search.h"

#include <atomic>
#include <cstdio>

#include "core/project_path.h"
#include "core/string_builder.h"
#include "core/text_match.h"
#include "editor/editor_state.h"
#include "platform/platform.h"
#include "render/renderer.h"
#include "workbench/results_panel.h"
#include "workbench/workbench_state.h"

namespace {
// Unsaved texts copied into one request, in all; a document beyond it is searched on disk.
constexpr i64 unsaved_text_limit = 64 << 20;
// The listed lines and their files' paths; matches beyond it are counted, not listed.
constexpr i64 result_bytes_limit = 8 << 20;
// A line whose match lies further in is shown from a little before the match.
constexpr i64 context_before_match = 40;

struct SearchFile {
    i64 path, path_length;    // in the request's bytes: the path read from disk
    i64 shown, shown_length;  // the path as the project names it
    i64 text, text_length;    // an open document's unsaved text; -1: the file is read
};

struct SearchRequest {
    u64 generation;
    MatchOptions options;
    i64 needle_length;        // the needle starts the bytes
    Array<SearchFile> files;  // pool_main, reused
    Array<char> bytes;        // pool_main, reused
};

struct SearchHit {
    i64 path, path_length;  // in the results' bytes
    i64 text, text_length;
    i32 line, column, length;
};

struct SearchResults {
    u64 generation;
    Array<SearchHit> hits;  // room for project_search_row_limit, fixed
    Array<char> bytes;      // room for result_bytes_limit, fixed
    i64 total;              // every match, listed or not
    i64 files_done, files_total, files_skipped;
    u8 finished;
    u8 changed;  // since the main thread last took them
};

struct ProjectSearchState {
    Mutex* lock;
    Signal* wake;
    ThreadHandle thread;
    bool started;
    bool reserved;  // project_search_reserve ran
    // Under the lock.
    bool stop;
    bool request_pending;
    i32 back, posted, working;
    SearchResults shared;
    // The newest request's generation: the worker gives up any other.
    std::atomic<u64> latest;
    SearchRequest requests[3];
    // The worker's own: the file in hand and its matches.
    Array<u8> read_buffer;
    SearchResults found;
    // The main thread's: the search shown, the panel list it made, the rows it passes.
    u64 next_generation;
    u64 shown_generation;
    u64 panel_list;
    OwnedString needle;
    Array<ResultRow> rows;
    ProjectSearchProgress progress;
};

ProjectSearchState search;

void reserve_results(SearchResults* r) {
    r->hits.pool = pool_main;
    r->bytes.pool = pool_main;
    array_reserve(&r->hits, project_search_row_limit);
    array_reserve(&r->bytes, result_bytes_limit);
}

void clear_results(SearchResults* r) {
    r->hits.count = r->bytes.count = 0;
    r->total = r->files_done = r->files_total = r->files_skipped = 0;
    r->finished = 0;
    r->changed = 1;
}

i64 append_bytes(Array<char>* a, StringView s) {
    i64 at = a->count;
    array_reserve(a, a->count + s.length);
    if (s.length > 0) memcpy(a->data + a->count, s.data, (size_t)s.length);
    a->count += s.length;
    return at;
}

// Appends to an array whose room was reserved up front (the worker never grows one).
bool append_within(Array<char>* a, StringView s) {
    if (s.length > a->capacity - a->count) return false;
    if (s.length > 0) memcpy(a->data + a->count, s.data, (size_t)s.length);
    a->count += s.length;
    return true;
}

bool is_blank(u8 c) { return c == ' ' || c == '\t'; }

// What a row shows of a match's line: without leading blanks or a "\r" at the end, at
// most project_search_line_limit bytes, starting a little before the match when the
// match lies further in. No UTF-8 sequence is cut at either end.
StringView shown_line(const u8* text, i64 line_start, i64 line_end, i64 match) {
    i64 s = line_start, e = line_end;
    while (s < e && is_blank(text[s])) s++;
    if (e > s && text[e - 1] == '\r') e--;
    if (match - s > project_search_line_limit - context_before_match) s = match - context_before_match;
    while (s > line_start && (text[s] & 0xC0) == 0x80) s--;
    if (e - s > project_search_line_limit) {
        e = s + project_search_line_limit;
        while (e > s && (text[e] & 0xC0) == 0x80) e--;
    }
    return StringView{(const char*)text + s, e - s};
}

// The matches of one text into `found` (emptied first), listing while `room` rows remain.
void search_text(const SearchRequest& r, const SearchFile& f, StringView text, i64 room) {
    SearchResults* found = &search.found;
    found->hits.count = found->bytes.count = found->total = 0;
    const u8* bytes = (const u8*)text.data;
    StringView needle{r.bytes.data, r.needle_length};
    LineMatchWalk walk = line_match_walk(bytes, text.length, needle, r.options);
    i64 path = -1;
    while (line_match_next(&walk)) {
        found->total++;
        if (found->hits.count >= room) continue;
        StringView line = shown_line(bytes, walk.line_start, walk.line_end, walk.start);
        if (path < 0) {
            path = found->bytes.count;
            // No room for even the path: the rest are counted only.
            if (!append_within(&found->bytes, StringView{r.bytes.data + f.shown, f.shown_length})) room = 0;
            if (room == 0) continue;
        }
        SearchHit hit{path,
                      f.shown_length,
                      found->bytes.count,
                      line.length,
                      (i32)walk.line,
                      (i32)(walk.start - walk.line_start),
                      (i32)needle.length};
        if (!append_within(&found->bytes, line) || found->hits.count >= found->hits.capacity) continue;
        found->hits.data[found->hits.count++] = hit;
    }
}

// Adds the file's matches to the shared results (unless a newer search replaced them).
void publish_file(u64 generation, bool skipped) {
    SearchResults& s = search.shared;
    const SearchResults& f = search.found;
    mutex_lock(search.lock);
    if (s.generation == generation) {
        s.files_done++;
        if (skipped) s.files_skipped++;
        s.total += skipped ? 0 : f.total;
        i64 base = s.bytes.count;
        i64 hits = skipped ? 0 : f.hits.count;
        if (hits > s.hits.capacity - s.hits.count) hits = s.hits.capacity - s.hits.count;
        if (hits > 0 && append_within(&s.bytes, StringView{f.bytes.data, f.bytes.count})) {
            for (i64 i = 0; i < hits; i++) {
                SearchHit h = f.hits[i];
                h.path += base;
                h.text += base;
                s.hits.data[s.hits.count++] = h;
            }
        }
        s.changed = 1;
    }
    mutex_unlock(search.lock);
}

void run_request(const SearchRequest& r) {
    i64 listed = 0;
    for (const SearchFile& f : r.files) {
        if (search.latest.load(std::memory_order_relaxed) != r.generation) return;
        StringView text{r.bytes.data + f.text, f.text_length};
        bool skipped = false;
        if (f.text < 0) {
            StringView path{r.bytes.data + f.path, f.path_length};
            FileContents c = file_read_all_to(path, search.read_buffer.data, search.read_buffer.capacity);
            skipped = c.status != read_ok;
            text = c.bytes;
        }
        // A NUL byte says the file is not text.
        if (!skipped && text.length > 0 && memchr(text.data, 0, (size_t)text.length)) skipped = true;
        if (!skipped) search_text(r, f, text, project_search_row_limit - listed);
        listed += skipped ? 0 : search.found.hits.count;
        publish_file(r.generation, skipped);
    }
    mutex_lock(search.lock);
    if (search.shared.generation == r.generation) {
        search.shared.finished = 1;
        search.shared.changed = 1;
    }
    mutex_unlock(search.lock);
}

i64 worker_main(void*) {
    thread_run_in_background();
    for (;;) {
        mutex_lock(search.lock);
        if (search.stop) {
            mutex_unlock(search.lock);
            return 0;
        }
        if (!search.request_pending) {
            mutex_unlock(search.lock);
            signal_wait(search.wake, -1);
            continue;
        }
        i32 taken = search.posted;
        search.posted = search.working;
        search.working = taken;
        search.request_pending = false;
        const SearchRequest& r = search.requests[taken];
        clear_results(&search.shared);
        search.shared.generation = r.generation;
        search.shared.files_total = r.files.count;
        mutex_unlock(search.lock);
        run_request(r);
    }
}

bool ensure_started() {
    if (search.started) return true;
    project_search_reserve();
    search.back = 0;
    search.posted = 1;
    search.working = 2;
    search.lock = mutex_create();
    search.wake = signal_create();
    search.stop = false;
    search.thread = thread_create(worker_main, nullptr);
    search.started = search.thread.id != 0;
    return search.started;
}

// The request in `back`: the needle, then every file of the project with its full path,
// and the unsaved text of each modified open document.
void fill_request(SearchRequest* r, StringView text) {
    r->generation = ++search.next_generation;
    r->options = MatchOptions{editor.search.match_case, editor.search.whole_word};
    r->files.count = r->bytes.count = 0;
    r->needle_length = text.length;
    append_bytes(&r->bytes, text);
    StringBuilder full{};
    full.pool = pool_frame;
    i64 unsaved = 0;
    for (const TabPath& p : editor.tab_paths) {
        build_full_path(&full, p.path);
        SearchFile f{};
        f.path_length = full.count;
        f.path = append_bytes(&r->bytes, builder_view(full));
        f.shown_length = p.path.length;
        f.shown = append_bytes(&r->bytes, p.path);
        f.text = -1;
        Document* doc = document_of_tab(p.id);
        if (doc && doc->dirty && unsaved + document_length(doc) <= unsaved_text_limit) {
            f.text_length = document_length(doc);
            f.text = append_bytes(&r->bytes, document_text(doc));
            unsaved += f.text_length;
        }
        array_append(&r->files, f);
    }
}

StringView make_title(const SearchResults& s) {
    char line[160];
    StringView needle = owned_view(search.needle);
    int shown = needle.length > 60 ? 60 : (int)needle.length;
    const char* state = s.finished ? "" : "searching: ";
    if (s.total > s.hits.count)
        snprintf(line, sizeof line, "%sfirst %lld of %lld matches of %.*s", state, (long long)s.hits.count,
                 (long long)s.total, shown, needle.data);
    else
        snprintf(line, sizeof line, "%s%lld %s of %.*s", state, (long long)s.total, s.total == 1 ? "match" : "matches",
                 shown, needle.data);
    return string_copy(sv_from_cstr(line), pool_frame);
}

void give_up_shown_search() {
    search.latest.store(++search.next_generation);
    search.shown_generation = 0;
    search.progress.running = false;
}
}  // namespace

void project_search_reserve() {
    if (search.reserved) return;
    search.reserved = true;
    for (SearchRequest& r : search.requests) {
        r.files.pool = pool_main;
        r.bytes.pool = pool_main;
    }
    reserve_results(&search.shared);
    reserve_results(&search.found);
    search.read_buffer.pool = pool_main;
    array_reserve(&search.read_buffer, project_search_file_limit);
    search.rows.pool = pool_main;
    array_reserve(&search.rows, project_search_row_limit);
}

void project_search_start(StringView text) {
    if (text.length <= 0 || !ensure_started()) return;
    string_assign(&search.needle, text, pool_main);
    SearchRequest* r = &search.requests[search.back];
    fill_request(r, text);
    // Once posted the request is the worker's to read: what is shown is taken before.
    u64 generation = r->generation;
    i64 files = r->files.count;
    mutex_lock(search.lock);
    i32 filled = search.back;
    search.back = search.posted;
    search.posted = filled;
    search.request_pending = true;
    search.latest.store(generation);
    mutex_unlock(search.lock);
    signal_post(search.wake);
    search.shown_generation = generation;
    search.progress = ProjectSearchProgress{true, 0, 0, 0, files, 0};
    results_panel_show(string_concat(SV("searching for "), text, pool_frame), nullptr, 0);
    search.panel_list = results_panel_list_id();
}

void run_project_search() {
    if (!search.started || search.shown_generation == 0) return;
    if (!results_panel_is_open() || results_panel_list_id() != search.panel_list) {
        give_up_shown_search();
        return;
    }
    // The worker's matches arrive without input: frames keep coming until it is done.
    frame_request(0.05);
    mutex_lock(search.lock);
    SearchResults& s = search.shared;
    if (s.generation == search.shown_generation && s.changed) {
        s.changed = 0;
        search.rows.count = 0;
        array_reserve(&search.rows, s.hits.count);
        for (const SearchHit& h : s.hits) {
            ResultRow row{StringView{s.bytes.data + h.path, h.path_length}, h.line, h.column, h.length,
                          StringView{s.bytes.data + h.text, h.text_length}};
            search.rows.data[search.rows.count++] = row;
        }
        // The panel copies the rows, so the worker may go on writing after the lock.
        results_panel_show(make_title(s), search.rows.data, search.rows.count);
        search.panel_list = results_panel_list_id();
        search.progress =
            ProjectSearchProgress{!s.finished, s.hits.count, s.total, s.files_done, s.files_total, s.files_skipped};
        if (s.finished) search.shown_generation = 0;
    }
    mutex_unlock(search.lock);
}

ProjectSearchProgress project_search_progress() { return search.progress; }

void project_search_shutdown() {
    if (!search.started) return;
    search.latest.store(++search.next_generation);
    mutex_lock(search.lock);
    search.stop = true;
    mutex_unlock(search.lock);
    signal_post(search.wake);
    thread_wait(search.thread, 0);
    mutex_destroy(search.lock);
    signal_destroy(search.wake);
    search.lock = nullptr;
    search.wake = nullptr;
    search.started = false;
    search.shown_generation = 0;
    search.progress.running = false;
}
