#include "analysis/source_cache.h"

#include <cstdio>

#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "core/project_path.h"
#include "memory/arena.h"
#include "platform/platform.h"
#include "syntax/file_kind.h"


namespace {
// Backing store of source_paths, reused by every rebuild so that reloading projects
// does not grow pool_main.

struct FailedOpen {
    StringView full_path;  // pool_frame
};

void report_failures(const Array<FailedOpen>& failures) {
    for (const FailedOpen& f : failures) {
        fputs("failed to open file as source cache\n", stdout);
        StringView text = string_concat(SV("failed to open file: "), f.full_path, pool_frame);
        show_simple_message_box(0, SV("error"), text);
    }
    fflush(stdout);
}

// Reads a whole file straight into an entry's buffer; no pass through pool_frame.
bool read_into_entry(StringView full_path, SourceEntry* entry, Array<FailedOpen>* failures) {
    FileStamp stamp = file_stamp(full_path);
    if (!stamp.exists || !stamp.is_regular) {
        array_append(failures, FailedOpen{string_copy(full_path, pool_frame)});
        return false;
    }
    i64 size = stamp.size;
    i64 capacity = 1;
    while (capacity < size) capacity *= 2;
    // Room to grow when the pool has it, else the exact size; an empty file still takes
    // one byte, which a full pool may not have either.
    if (capacity > pool_available(pool_sources)) capacity = size > 0 ? size : 1;
    if (capacity > pool_available(pool_sources)) {
        printf("source cache full, left out: %.*s\n", (int)full_path.length, full_path.data);
        return false;
    }
    entry->text = Array<u8>{(u8*)pool_alloc(pool_sources, capacity), 0, (i32)capacity, pool_sources};
    // A file that grew since it was measured is read as far as the room goes.
    FileContents contents = file_read_all_into(full_path, &entry->text, capacity, 0);
    if (contents.status == read_cannot_open) {
        array_append(failures, FailedOpen{string_copy(full_path, pool_frame)});
        return false;
    }
    if (contents.status == read_too_large) {
        printf("source cache full, left out: %.*s\n", (int)full_path.length, full_path.data);
        return false;
    }
    return true;
}
}  // namespace

void source_cache_init() {
    analysis.source_cache.source_paths.pool = pool_main;
    analysis.source_cache.source_entries.pool = pool_main;
}

void source_cache_split_list(StringView bytes) {
    // Lines at "\n" only; a final "\n" makes no empty last line.
    i64 size = bytes.length > 0 ? bytes.length : 0;
    Array<char>& path_storage = analysis.source_cache.path_storage;
    path_storage.pool = pool_main;
    path_storage.count = 0;
    append_bytes(&path_storage, bytes.data, size);
    analysis.source_cache.source_paths.count = 0;
    i64 start = 0;
    for (i64 i = 0; i <= size; i++) {
        if (i < size && bytes.data[i] != '\n') continue;
        if (i == size && start == size) break;
        array_append(&analysis.source_cache.source_paths, StringView{path_storage.data + start, i - start});
        start = i + 1;
    }
}

static void forget_shared_copy(StringView path);

namespace {
void read_listed_files(StringView list) {
    StringBuilder full{};
    full.pool = pool_frame;
    Array<FailedOpen> failures{};
    failures.pool = pool_frame;
    mutex_lock(analysis.source_lock);
    source_cache_split_list(list);
    analysis.source_cache.source_entries.count = 0;
    pool_reset(pool_sources);
    for (StringView path : analysis.source_cache.source_paths) {
        build_full_path(&full, path);
        SourceEntry entry{path, Array<u8>{nullptr, 0, 0, pool_sources}};
        if (read_into_entry(builder_view(full), &entry, &failures)) array_append(&analysis.source_cache.source_entries, entry);
    }
    for (i64 i = 0; i < analysis.source_cache.shared_count; i++)
        forget_shared_copy(owned_view(analysis.source_cache.shared[i].path));
    mutex_unlock(analysis.source_lock);
    // Shown after the lock is released so that a modal box never stalls the analysis.
    report_failures(failures);
}
}  // namespace

void source_cache_rebuild(StringView name) {
    string_assign(&analysis.source_cache.sources_name, name, pool_main);
    StringBuilder full{};
    full.pool = pool_frame;
    build_full_path(&full, name);
    FileContents list = file_read_all(builder_view(full), pool_frame, sources_list_limit, true);
    if (list.status != read_ok) return;
    if (list.size > sources_list_limit) show_simple_message_box(0, SV("Error"), SV("Too many source files!"));
    read_listed_files(list.bytes);
}

void source_cache_rebuild_from_list(StringView list) {
    analysis.source_cache.sources_name.length = 0;
    if (list.length > sources_list_limit) list.length = sources_list_limit;
    read_listed_files(list);
}

static SourceEntry* find_entry(StringView path) {
    for (SourceEntry& e : analysis.source_cache.source_entries)
        if (sv_equal(e.path, path)) return &e;
    return nullptr;
}

// While a listed file is open its text is read from the document: the cached copy's pages
// go back to the system (unsharing fills the entry again from the document).
static void forget_shared_copy(StringView path) {
    constexpr i64 smallest_given_back = 65536;
    SourceEntry* entry = find_entry(path);
    if (!entry || entry->text.count == 0 || entry->text.capacity < smallest_given_back) return;
    pool_give_back_block(entry->text.data, entry->text.capacity);
    entry->text.count = 0;
}

StringView source_cache_update(StringView path, StringView text) {
    mutex_lock(analysis.source_lock);
    StringView result{nullptr, 0};
    SourceEntry* entry = find_entry(path);
    bool stored = false;
    if (entry) {
        // The buffer doubles from its capacity until the text fits, as a new block when
        // it is not the pool's last one: that whole size must be free.
        i64 grown = entry->text.capacity > 0 ? entry->text.capacity : 1;
        while (grown < text.length) grown *= 2;
        if (text.length <= entry->text.capacity || grown <= pool_available(pool_sources)) {
            entry->text.count = 0;
            append_bytes(&entry->text, text.data, text.length);
            result = StringView{(const char*)entry->text.data, entry->text.count};
            stored = true;
        } else {
            entry->text.count = 0;  // too large for the cache: no stale text stays behind
        }
    }
    if (!stored && text.length < shared_text_capacity) {
        if (!analysis.source_cache.shared_text_buffer)
            analysis.source_cache.shared_text_buffer = (char*)pool_alloc(pool_main, shared_text_capacity);
        if (text.length) memcpy(analysis.source_cache.shared_text_buffer, text.data, (size_t)text.length);
        analysis.source_cache.shared_text_length = text.length;
        string_assign(&analysis.source_cache.shared_text_path, path, pool_main);
        result = StringView{analysis.source_cache.shared_text_buffer, text.length};
    } else if (!stored && sv_equal(owned_view(analysis.source_cache.shared_text_path), path)) {
        analysis.source_cache.shared_text_path.length = 0;  // the shared copy is stale now
        analysis.source_cache.shared_text_length = 0;
    }
    mutex_unlock(analysis.source_lock);
    return result;
}

namespace {
SharedSource* find_shared(StringView path) {
    SourceCache& c = analysis.source_cache;
    for (i64 i = 0; i < c.shared_count; i++)
        if (sv_equal(owned_view(c.shared[i].path), path)) return &c.shared[i];
    return nullptr;
}

i64 shared_index(const TextStore* text) {
    SourceCache& c = analysis.source_cache;
    for (i64 i = 0; i < c.shared_count; i++)
        if (c.shared[i].text == text) return i;
    return -1;
}

// A copy of a shared document's text in `pool` (empty beyond the analysis limit).
StringView copy_shared(const SharedSource& s, u8 pool) {
    i64 length = store_length(s.text);
    if (length <= 0 || length > analysis_text_limit) return StringView{nullptr, 0};
    u8* bytes = (u8*)pool_alloc(pool, length);
    store_copy_out(s.text, 0, length, bytes);
    return StringView{(const char*)bytes, length};
}
}  // namespace

void source_cache_share(StringView path, const TextStore* text) {
    SourceCache& c = analysis.source_cache;
    if (analysis.source_lock) mutex_lock(analysis.source_lock);
    i64 i = shared_index(text);
    if (i < 0) {
        SharedSource* same_path = find_shared(path);
        if (same_path) i = same_path - c.shared;
        else if (c.shared_count < shared_source_capacity) i = c.shared_count++;
    }
    if (i >= 0) {
        if (!sv_equal(owned_view(c.shared[i].path), path)) string_assign(&c.shared[i].path, path, pool_main);
        c.shared[i].text = text;
        forget_shared_copy(path);
    }
    if (analysis.source_lock) mutex_unlock(analysis.source_lock);
}

void source_cache_unshare(const TextStore* text) {
    SourceCache& c = analysis.source_cache;
    if (analysis.source_lock) mutex_lock(analysis.source_lock);
    i64 i = shared_index(text);
    if (i >= 0) {
        // A listed file keeps the last text the document had.
        SourceEntry* entry = find_entry(owned_view(c.shared[i].path));
        i64 length = store_length(text);
        if (entry && (length <= entry->text.capacity || length <= pool_available(pool_sources))) {
            if (length > entry->text.capacity) {
                entry->text.data = (u8*)pool_alloc(pool_sources, length > 0 ? length : 1);
                entry->text.capacity = length;
            }
            store_copy_out(text, 0, length, entry->text.data);
            entry->text.count = length;
        }
        // The last shared document takes this one's place; its path storage goes along.
        OwnedString path = c.shared[i].path;
        c.shared[i] = c.shared[c.shared_count - 1];
        c.shared[c.shared_count - 1].path = path;
        c.shared[c.shared_count - 1].text = nullptr;
        c.shared_count--;
    }
    if (analysis.source_lock) mutex_unlock(analysis.source_lock);
}

bool source_cache_shares(const TextStore* text) { return shared_index(text) >= 0; }

bool source_cache_lists(StringView path) {
    if (analysis.source_lock) mutex_lock(analysis.source_lock);
    bool listed = find_entry(path) != nullptr;
    if (analysis.source_lock) mutex_unlock(analysis.source_lock);
    return listed;
}

StringView source_cache_lookup(StringView path) {
    SourceEntry* entry = find_entry(path);
    if ((!entry || entry->text.count == 0) && analysis.source_cache.shared_text_path.length > 0 &&
        sv_equal(owned_view(analysis.source_cache.shared_text_path), path))
        return StringView{analysis.source_cache.shared_text_buffer, analysis.source_cache.shared_text_length};
    if (!entry) return StringView{nullptr, 0};
    return StringView{(const char*)entry->text.data, entry->text.count};
}

StringView source_cache_copy(StringView path, u8 pool, u64* changes) {
    mutex_lock(analysis.source_lock);
    const SharedSource* shared = find_shared(path);
    StringView copy = shared ? copy_shared(*shared, pool) : string_copy(source_cache_lookup(path), pool);
    // A stored copy matches no document's count: positions in it are never trusted.
    if (changes) *changes = shared ? shared->text->changes : ~(u64)0;
    mutex_unlock(analysis.source_lock);
    return copy;
}

void source_cache_clear() {
    mutex_lock(analysis.source_lock);
    analysis.source_cache.source_entries.count = 0;
    analysis.source_cache.source_paths.count = 0;
    analysis.source_cache.sources_name.length = 0;
    // Documents share their text again when they are next recoloured.
    analysis.source_cache.shared_count = 0;
    pool_reset(pool_sources);
    mutex_unlock(analysis.source_lock);
}

Array<SourceFile> source_cache_copy_of_kinds(const u8* kinds, i64 kind_count, StringView exclude, u8 pool) {
    Array<SourceFile> files{nullptr, 0, 0, pool};
    mutex_lock(analysis.source_lock);
    for (StringView path : analysis.source_cache.source_paths) {
        if (sv_equal(path, exclude)) continue;
        bool wanted = false;
        u8 kind = file_kind_for_path(path);
        for (i64 i = 0; i < kind_count && !wanted; i++) wanted = kind == kinds[i];
        if (!wanted) continue;
        const SharedSource* shared = find_shared(path);
        StringView text = shared ? copy_shared(*shared, pool) : string_copy(source_cache_lookup(path), pool);
        array_append(&files, SourceFile{string_copy(path, pool), text});
    }
    mutex_unlock(analysis.source_lock);
    return files;
}
