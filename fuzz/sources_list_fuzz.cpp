// Sources list bytes: the split gives exactly the lines of the input (a final "\n" makes
// no empty last line, nothing is trimmed), every path a copy that stays inside its
// storage. Then the same bytes as a sources list file on disk, rebuilt into a cache of a
// small pool_sources next to a few real files: entries are listed paths, each text the
// file's bytes or left out when the pool is full.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "core/core_state.h"
#include "core/project_path.h"
#include "memory/arena.h"
#include "platform/headless/headless.h"
#include "workbench/workbench_state.h"

namespace {
void check(bool condition, const char* what) {
    if (condition) return;
    fprintf(stderr, "sources_list_fuzz: %s\n", what);
    abort();
}

char directory[64];

struct FixtureFile {
    const char* name;
    i64 size;
};
// The last two do not fit the 1 MiB pool together; "gone.vnt" does not exist.
const FixtureFile fixture_files[] = {{"a.vnt", 20}, {"b.c", 0}, {"s/c.glsl", 300}, {"big.txt", 700000}, {"big2.txt", 600000}};

void write_file(const char* relative, const char* bytes, i64 size) {
    char path[256];
    snprintf(path, sizeof path, "%s/%s", directory, relative);
    FILE* f = fopen(path, "wb");
    check(f != nullptr, "fixture file");
    if (size > 0) fwrite(bytes, 1, (size_t)size, f);
    fclose(f);
}

void set_up() {
    static const i64 capacities[pool_count] = {64ll << 20, 4 << 20, 1 << 16, 1 << 20, 1 << 16, 1 << 16, 1 << 16};
    check(arenas_reserve(capacities), "arenas");
    analysis_locks_create();
    source_cache_init();
    // Failures are reported on standard output once per missing file: keep it quiet.
    check(freopen("/dev/null", "w", stdout) != nullptr, "stdout");
    snprintf(directory, sizeof directory, "/tmp/sources_list_fuzz_XXXXXX");
    check(mkdtemp(directory) != nullptr, "directory");
    char sub[128];
    snprintf(sub, sizeof sub, "%s/s", directory);
    check(mkdir(sub, 0755) == 0, "sub-directory");
    static char filler[700000];
    for (i64 i = 0; i < (i64)sizeof filler; i++) filler[i] = (char)('a' + i % 26);
    for (const FixtureFile& f : fixture_files) write_file(f.name, filler, f.size);
    char project_path[128];
    snprintf(project_path, sizeof project_path, "%s/fuzz.project", directory);
    string_assign(&core.project_path, sv_from_cstr(project_path), pool_main);
}

i64 fixture_size(StringView path) {
    for (const FixtureFile& f : fixture_files)
        if (sv_equal(path, sv_from_cstr(f.name))) return f.size;
    return -1;
}

// Paths that climb out of the directory could name anything on the machine.
bool stays_inside(StringView bytes) {
    for (i64 i = 0; i + 1 < bytes.length; i++)
        if (bytes.data[i] == '.' && bytes.data[i + 1] == '.') return false;
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    static bool ready = false;
    if (!ready) {
        set_up();
        ready = true;
    }
    pool_reset(pool_frame);
    headless_clear_message_boxes();
    StringView bytes{(const char*)data, (i64)size};
    source_cache_split_list(bytes);

    // The paths joined by "\n" give back the input, less one final "\n".
    i64 pos = 0;
    const Array<StringView>& paths = analysis.source_cache.source_paths;
    for (i64 i = 0; i < paths.count; i++) {
        StringView p = paths[i];
        check(p.length >= 0 && pos + p.length <= bytes.length, "path inside the input");
        check(p.length == 0 || (p.data != bytes.data + pos && memcmp(p.data, bytes.data + pos, (size_t)p.length) == 0),
              "path is a copy of its line");
        check(p.length == 0 || memchr(p.data, '\n', (size_t)p.length) == nullptr, "no newline in a path");
        pos += p.length;
        if (i + 1 < paths.count) {
            check(pos < bytes.length && bytes.data[pos] == '\n', "lines end at newlines");
            pos++;
        }
    }
    if (pos < bytes.length) {
        check(bytes.data[pos] == '\n' && pos + 1 == bytes.length, "only a final newline is left over");
        pos++;
    }
    check(pos == bytes.length, "every byte is accounted for");
    check(paths.count > 0 || size == 0, "a non-empty list has a path");

    if (size > 4096 || !stays_inside(bytes)) return 0;
    write_file("sources.txt", (const char*)data, (i64)size);
    source_cache_rebuild(SV("sources.txt"));
    i64 entry_bytes = 0;
    for (const SourceEntry& e : analysis.source_cache.source_entries) {
        i64 expected = fixture_size(e.path);
        // A listed path that is not a fixture can only be the list itself or a directory
        // entry that opened as a file.
        if (expected >= 0) check(e.text.count == expected, "entry holds the whole file");
        check(e.text.count <= e.text.capacity, "entry within its buffer");
        entry_bytes += e.text.capacity;
    }
    check(entry_bytes <= memory.arenas[pool_sources].capacity, "entries fit the pool");
    check(analysis.source_cache.source_entries.count <= paths.count, "no more entries than paths");

    // The document's text goes to its entry, or to the shared buffer when not listed.
    // (The shared buffer answers only for a named document: a path that is not empty.)
    StringView first = paths.count > 0 && paths[0].length > 0 ? paths[0] : SV("none");
    StringView stored = source_cache_update(first, bytes);
    check(stored.length == 0 || stored.length == bytes.length, "update stores the whole text or nothing");
    StringView copy = source_cache_copy(first, pool_frame);
    check(stored.length == 0 || (copy.length == bytes.length && memcmp(copy.data, data, size) == 0),
          "lookup gives back the update");
    return 0;
}
