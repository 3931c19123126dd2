#pragma once
// Crash recovery: while a document is modified, its text is kept in a recovery file of
// its own, written in the background about a second after a change; a clean save or a
// discard removes it. After a crash the next start puts the text back (recovery_restore).
// A recovery file that nothing here uses is never deleted.
#include "core/array.h"
#include "editor/document.h"

struct Mutex;
struct Signal;

// One write or removal of a recovery file, done by the worker thread.
struct RecoveryJob {
    u8 kind;  // recovery_job_write or recovery_job_remove
    char path[4200];
    // A write's job_bytes hold the document key, the project key, then the text; the
    // worker checksums the text and makes the header, which a large file would make
    // a keystroke wait for.
    i64 document_length, project_length;
    i64 slot;      // tab slot of the document written, -1 for a removal
    u32 doc_id;
    u64 state_id;  // the state written
};
enum : u8 { recovery_job_write = 1, recovery_job_remove = 2 };

struct RecoveryState {
    bool enabled;
    char directory[4096];
    i64 directory_length;
    // The worker and the one job it holds, guarded by `lock`. Without a worker thread
    // (tests) the job runs at once on the caller's thread.
    Mutex* lock;
    Signal* wake;
    ThreadHandle thread;
    bool threaded;
    bool job_pending, busy, stop;
    bool result_ready, result_ok;
    RecoveryJob job;
    RecoveryJob result;
    Array<u8> job_bytes;  // keys and text of a write; pool_main, reused
    // Main thread only.
    char removals[64][32];  // file names waiting for removal
    i32 removal_count;
    i64 next_slot;          // where the search for work goes on (round robin)
    bool failure_reported;
    f64 retry_after;
    OwnedString message;    // a failure to show once; taken by recovery_take_message
    Array<char> read_buffer;    // a recovery file being read; pool_main, reused
    Array<char> listed_names;   // names already listed as kept, recovery_file_name_length each
};


// Seconds a modified document waits after its previous write before the next one.
constexpr f64 recovery_write_interval = 1.0;
constexpr f64 recovery_retry_interval = 2.0;

// Turns recovery on with files in `directory` (made with mode 0700 when missing).
// `threaded` starts the worker; without it each job runs inside recovery_step.
void recovery_init(StringView directory, bool threaded);
// Ends the worker after its current job; recovery is off afterwards.
void recovery_shutdown();
// Once per frame: takes what the worker did and gives it the next job.
void recovery_step(f64 now);
// The user gave up the document's changes (or closes it saved): its recovery file goes.
void recovery_discard(const Document* doc);
// The same for a file name of recovery_name_of (a document that was renamed meanwhile).
void recovery_discard_named(StringView name);
// Writes the recovery file of every modified document now, on this thread, after the
// worker has finished; no arena memory is used (this also runs after an arena ran out).
void recovery_write_all_now();
// A failure message to show the user once, or empty.
StringView recovery_take_message();

enum RecoveryFound : u8 { recovery_none, recovery_restored, recovery_older, recovery_unreadable };
// Looks for the recovery file of a document just loaded; a valid one newer than the
// file (or for a file that is missing) becomes the document's text as an unsaved change.
RecoveryFound recovery_restore(Document* doc);
// Whether a recovery file exists for the project file `relative` (not open in a tab).
bool recovery_exists_for_path(StringView relative);
// The recovery file name of a document into `out` (recovery_file_name_length bytes).
void recovery_name_of(const Document* doc, char* out);
void recovery_name_of_path(StringView relative, char* out);
// Prints, once per run, every recovery file whose name is not among `in_use` (names of
// recovery_file_name_length bytes each, one after the other).
void recovery_list_kept(StringView in_use);
