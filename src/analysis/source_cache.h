#pragma once
// The project's source files held in memory for the analysis thread, and the hand-over
// buffer for the one document that is not among them. Guarded by source_lock.
#include "core/array.h"
#include "core/string_view.h"

struct SourceEntry {
    StringView path;  // as listed
    Array<u8> text;   // pool_sources
};

struct SourceCache {
    OwnedString sources_name;         // pool_main
    Array<StringView> source_paths;   // pool_main; see source_cache_rebuild
    Array<SourceEntry> source_entries;
    char* shared_text_buffer;         // 1 MiB from pool_main
    OwnedString shared_text_path;     // pool_main
    i64 shared_text_length;
    Array<char> path_storage;  // the bytes of source_paths; pool_main, reused
};

constexpr i64 shared_text_capacity = 1048576;
constexpr i64 sources_list_limit = 262144;

void source_cache_init();  // reserves shared_text_buffer (start-up)
// Rebuilds from `name` (the compiler-settings "sources" text), relative to the project
// directory. Recolouring of the current document is the caller's (it posts a request).
void source_cache_rebuild(StringView name);
// Splits the bytes of a sources list into source_paths (copies kept in pool_main). The
// caller holds source_lock while the analysis thread may be reading the paths.
void source_cache_split_list(StringView bytes);
// Stores the document's text (under source_lock) and returns what the request carries.
StringView source_cache_update(StringView path, StringView text);
// Copies the current text for `path` into `pool` (under source_lock) so that the caller
// reads bytes nobody else changes. Empty when there is none.
StringView source_cache_copy(StringView path, u8 pool);
// The stored text for a path; valid only while source_lock is held.
StringView source_cache_lookup(StringView path);
struct SourceFile {
    StringView path;
    StringView text;
};
// Private copies (in `pool`) of every listed path ending in one of the suffixes, except
// `exclude`, with their cached texts, in list order; taken under source_lock.
Array<SourceFile> source_cache_copy_matching(const StringView* suffixes, i64 suffix_count, StringView exclude, u8 pool);
// Empties everything (project reset).
void source_cache_clear();
