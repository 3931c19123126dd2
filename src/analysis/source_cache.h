#pragma once
// The project's source files held in memory for the analysis thread, and the documents
// open in the editor, read where they are. Guarded by source_lock: the analysis copies
// what it reads under it, and the editor changes a shared document's text only while
// holding it.
#include "core/array.h"
#include "core/string_view.h"
#include "core/text_store.h"

struct SourceEntry {
    StringView path;  // as listed
    Array<u8> text;   // pool_sources
};

// A document open in the editor, read in place.
struct SharedSource {
    OwnedString path;  // pool_main, reused
    const TextStore* text;
};
constexpr i64 shared_source_capacity = 32;

struct SourceCache {
    OwnedString sources_name;         // pool_main
    Array<StringView> source_paths;   // pool_main; see source_cache_rebuild
    Array<SourceEntry> source_entries;
    // A copy of a text for a path that is neither listed nor shared (taken the first time
    // one is stored: tests and fuzzing store texts this way).
    char* shared_text_buffer;         // 1 MiB from pool_main
    OwnedString shared_text_path;     // pool_main
    i64 shared_text_length;
    Array<char> path_storage;  // the bytes of source_paths; pool_main, reused
    SharedSource shared[shared_source_capacity];
    i64 shared_count;
};

constexpr i64 shared_text_capacity = 1048576;
constexpr i64 sources_list_limit = 262144;
// A document longer than this is analysed as empty: one pass must fit its arena. One that
// is not in the sources list is analysed only below the smaller limit.
constexpr i64 analysis_text_limit = (i64)32 << 20;
constexpr i64 unlisted_analysis_limit = shared_text_capacity;

void source_cache_init();  // start-up
// Rebuilds from `name` (the compiler-settings "sources" text), relative to the project
// directory. Recolouring of the current document is the caller's (it posts a request).
void source_cache_rebuild(StringView name);
// The same from the lines of `list` itself (files opened without a project): no list file.
void source_cache_rebuild_from_list(StringView list);
// Splits the bytes of a sources list into source_paths (copies kept in pool_main). The
// caller holds source_lock while the analysis thread may be reading the paths.
void source_cache_split_list(StringView bytes);
// Stores a copy of a text for `path` (under source_lock): in its entry when the path is
// listed, else in the one loose slot (1 MiB). Returns the stored text.
StringView source_cache_update(StringView path, StringView text);
// The document `path` is read from `text` from now on (takes source_lock). A store shared
// under another path takes the new one (a document saved under another name).
void source_cache_share(StringView path, const TextStore* text);
// It is read no more (takes source_lock); a listed file keeps a copy of its last text.
void source_cache_unshare(const TextStore* text);
bool source_cache_shares(const TextStore* text);
// Whether `path` is in the sources list (takes source_lock).
bool source_cache_lists(StringView path);
// Copies the current text for `path` into `pool` (under source_lock) so that the caller
// reads bytes nobody else changes. Empty when there is none. `changes`, when given, gets
// the shared document's change count at that moment (all ones for a stored copy).
StringView source_cache_copy(StringView path, u8 pool, u64* changes = nullptr);
// The stored text for a path; valid only while source_lock is held.
StringView source_cache_lookup(StringView path);
struct SourceFile {
    StringView path;
    StringView text;
};
// Private copies (in `pool`) of every listed path of one of the file kinds, except
// `exclude`, with their cached texts, in list order; taken under source_lock.
Array<SourceFile> source_cache_copy_of_kinds(const u8* kinds, i64 kind_count, StringView exclude, u8 pool);
// Empties everything (project reset).
void source_cache_clear();
