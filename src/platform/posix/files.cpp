// Files and directories on POSIX.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <climits>

#include "platform/platform.h"
#include "platform/posix/path_buffer.h"

FileHandle file_open(StringView path, i32 mode) {
    PathBuffer p = make_path(path);
    if (!p.ok) return FileHandle{-1};
    // Opening a FIFO for reading would wait for a writer forever: not blocking here,
    // and only regular files are read (a directory "opens" on Linux, a device has no size).
    int flags = mode == file_mode_write ? (O_WRONLY | O_CREAT | O_TRUNC) : (O_RDONLY | O_NONBLOCK);
    int fd = open(p.text, flags | O_CLOEXEC, 0644);
    if (fd >= 0 && mode != file_mode_write) {
        struct stat st;
        if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || fcntl(fd, F_SETFL, O_RDONLY) != 0) {
            close(fd);
            fd = -1;
        }
    }
    return FileHandle{fd};
}

bool file_failed(FileHandle file) { return file.fd < 0; }

i64 file_size(FileHandle file) {
    struct stat st;
    if (file.fd < 0 || fstat((int)file.fd, &st) != 0) return 0;
    return (i64)st.st_size;
}

i64 file_read(FileHandle file, i64 size, void* destination) {
    if (file.fd < 0) return 0;
    i64 done = 0;
    while (done < size) {
        ssize_t n = read((int)file.fd, (char*)destination + done, (size_t)(size - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

bool file_write(FileHandle file, i64 size, const void* source) {
    if (file.fd < 0) return false;
    i64 done = 0;
    while (done < size) {
        ssize_t n = write((int)file.fd, (const char*)source + done, (size_t)(size - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

void file_close(FileHandle file) {
    if (file.fd >= 0) close((int)file.fd);
}

bool file_exists(StringView path) {
    PathBuffer p = make_path(path);
    struct stat st;
    return p.ok && stat(p.text, &st) == 0 && S_ISREG(st.st_mode);
}

bool file_create(StringView path) {
    PathBuffer p = make_path(path);
    if (!p.ok) return false;
    // Not blocking: a FIFO standing there would wait for a reader.
    int fd = open(p.text, O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    close(fd);
    return true;
}

bool directory_exists(StringView path) {
    PathBuffer p = make_path(path);
    struct stat st;
    return p.ok && stat(p.text, &st) == 0 && S_ISDIR(st.st_mode);
}

DirectoryContent directory_get_content(StringView path, u8 pool) {
    DirectoryContent content{};
    content.directories.pool = pool;
    content.files.pool = pool;
    PathBuffer p = make_path(path.length ? path : SV("."));
    if (!p.ok) return content;
    DIR* dir = opendir(p.text);
    if (!dir) return content;
    while (struct dirent* entry = readdir(dir)) {
        StringView name = sv_from_cstr(entry->d_name);
        if (sv_equal(name, SV(".")) || sv_equal(name, SV(".."))) continue;
        bool is_dir = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            char full[8192];
            snprintf(full, sizeof full, "%s/%s", p.text, entry->d_name);
            struct stat st;
            is_dir = stat(full, &st) == 0 && S_ISDIR(st.st_mode);
        }
        array_append(is_dir ? &content.directories : &content.files, string_copy(name, pool));
    }
    closedir(dir);
    return content;
}

// ---- Saving ----------------------------------------------------------------------------
// Everything from here on keeps to the stack: the emergency save runs after an arena ran out.

static const char temporary_infix[] = ".tesmora-save-";
static const i64 temporary_infix_length = (i64)sizeof temporary_infix - 1;

// Follows the links from `path` to the file they name, into `out` (PATH_MAX bytes). A
// relative target is taken from the link's directory. True also when nothing is there
// yet (a new file, or a dangling link's target); false for a loop or an unusable path.
static bool resolve_links(StringView path, char* out) {
    PathBuffer p = make_path(path);
    if (!p.ok) return false;
    memcpy(out, p.text, (size_t)path.length + 1);
    for (int depth = 0;; depth++) {
        struct stat st;
        if (lstat(out, &st) != 0) return errno == ENOENT;
        if (!S_ISLNK(st.st_mode)) return true;
        if (depth == 40) return false;
        char link[PATH_MAX];
        ssize_t n = readlink(out, link, sizeof link);
        if (n <= 0 || n >= (ssize_t)sizeof link) return false;
        link[n] = 0;
        size_t keep = 0;
        if (link[0] != '/') {
            const char* slash = strrchr(out, '/');
            keep = slash ? (size_t)(slash - out) + 1 : 0;
        }
        if (keep + (size_t)n + 1 > PATH_MAX) return false;
        memcpy(out + keep, link, (size_t)n + 1);
    }
}

// The directory part of `path` ("." or "/" where it has none), into `out` (PATH_MAX bytes);
// returns the last element.
static const char* split_directory(const char* path, char* out) {
    const char* slash = strrchr(path, '/');
    if (!slash) {
        snprintf(out, PATH_MAX, ".");
        return path;
    }
    size_t length = slash == path ? 1 : (size_t)(slash - path);
    memcpy(out, path, length);
    out[length] = 0;
    return slash + 1;
}

// Makes a rename or a new name itself durable.
static void sync_directory_of(const char* path) {
    char dir[PATH_MAX];
    split_directory(path, dir);
    int fd = open(dir, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

static bool write_parts(int fd, const StringView* parts, i64 count) {
    for (i64 i = 0; i < count; i++)
        if (!file_write(FileHandle{fd}, parts[i].length, parts[i].data)) return false;
    return true;
}

// Rewrites the file in place, keeping its inode and so its other names, owner and mode.
// Nothing is truncated before every new byte is written.
static SaveResult rewrite_in_place(const char* target, const struct stat& original, const StringView* parts, i64 count) {
    int fd = open(target, O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return save_open_failed;
    // Still the file that was examined, not one that took its name meanwhile.
    struct stat st;
    if (fstat(fd, &st) != 0 || st.st_ino != original.st_ino || st.st_dev != original.st_dev) {
        close(fd);
        return save_open_failed;
    }
    i64 total = 0;
    for (i64 i = 0; i < count; i++) total += parts[i].length;
    bool ok = write_parts(fd, parts, count);
    ok = ok && ftruncate(fd, (off_t)total) == 0;
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    return ok ? save_ok : save_write_failed;
}

SaveResult file_save_atomic_parts(StringView path, const StringView* parts, i64 count) {
    char target[PATH_MAX];
    if (!resolve_links(path, target)) return save_open_failed;
    struct stat original;
    bool exists = stat(target, &original) == 0;
    if (exists) {
        // A directory, device or pipe is not replaced by a file.
        if (!S_ISREG(original.st_mode)) return save_open_failed;
        // Root passes every permission check, so a file without any write bit counts
        // as read-only for root too.
        if (faccessat(AT_FDCWD, target, W_OK, AT_EACCESS) != 0) return errno == ENOENT ? save_open_failed : save_not_writable;
        if (geteuid() == 0 && (original.st_mode & 0222) == 0) return save_not_writable;
    }
    mode_t mode;
    if (exists) mode = original.st_mode & 07777;
    else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }

    char temp[PATH_MAX + 32];
    snprintf(temp, sizeof temp, "%s%sXXXXXX", target, temporary_infix);
    int fd = mkstemp(temp);
    // A directory we may not write has no room for a copy; rewriting the file in place
    // without one could leave it half written, so that save is refused.
    if (fd < 0) return save_open_failed;
    // The temporary takes the original's place only when it can have the same owner,
    // group and single name; otherwise it is the safe copy kept while the original is
    // rewritten. fchown comes first: it may clear set-user-ID bits that fchmod then sets.
    bool in_place = exists && original.st_nlink > 1;
    if (!in_place && exists && fchown(fd, original.st_uid, original.st_gid) != 0) in_place = true;
    bool ok = write_parts(fd, parts, count);
    ok = ok && (in_place || fchmod(fd, mode) == 0);
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (!ok) {
        unlink(temp);
        return save_write_failed;
    }
    if (in_place) {
        sync_directory_of(temp);
        SaveResult result = rewrite_in_place(target, original, parts, count);
        // A rewrite that failed part way leaves the copy: it holds the new text.
        if (result != save_write_failed) unlink(temp);
        return result;
    }
    if (rename(temp, target) != 0) {
        unlink(temp);
        return save_write_failed;
    }
    sync_directory_of(target);
    return save_ok;
}

SaveResult file_save_atomic(StringView path, StringView content) { return file_save_atomic_parts(path, &content, 1); }

// "<name>.tesmora-save-" and the six letters or digits mkstemp puts in.
static bool is_stray_temporary(const char* entry, const char* name, size_t name_length) {
    size_t length = strlen(entry);
    if (length != name_length + (size_t)temporary_infix_length + 6) return false;
    if (memcmp(entry, name, name_length) != 0) return false;
    if (memcmp(entry + name_length, temporary_infix, (size_t)temporary_infix_length) != 0) return false;
    for (size_t i = length - 6; i < length; i++) {
        char c = entry[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

// One pass over the directory; readdir would allocate, so the names are read into a
// buffer on the stack where the system allows.
static i64 remove_stray_pass(int dir_fd, const char* name) {
    size_t name_length = strlen(name);
    i64 removed = 0;
    auto consider = [&](const char* entry) {
        struct stat st;
        if (is_stray_temporary(entry, name, name_length) && fstatat(dir_fd, entry, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && unlinkat(dir_fd, entry, 0) == 0)
            removed++;
    };
    lseek(dir_fd, 0, SEEK_SET);
#if defined(__linux__)
    alignas(8) char buffer[8192];
    for (;;) {
        ssize_t n = getdents64(dir_fd, buffer, sizeof buffer);
        if (n <= 0) break;
        for (ssize_t at = 0; at < n;) {
            const struct dirent64* entry = (const struct dirent64*)(buffer + at);
            consider(entry->d_name);
            at += entry->d_reclen;
        }
    }
#else
    int copy = dup(dir_fd);
    DIR* dir = copy >= 0 ? fdopendir(copy) : nullptr;
    if (!dir) {
        if (copy >= 0) close(copy);
        return 0;
    }
    while (struct dirent* entry = readdir(dir)) consider(entry->d_name);
    closedir(dir);
#endif
    return removed;
}

i64 file_remove_stray_temporaries(StringView path) {
    char target[PATH_MAX];
    char dir[PATH_MAX];
    if (!resolve_links(path, target)) return 0;
    const char* name = split_directory(target, dir);
    if (!name[0]) return 0;
    int dir_fd = open(dir, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir_fd < 0) return 0;
    // Names removed while the directory is read may hide others from that reading:
    // read it again until nothing more goes.
    i64 removed = 0;
    while (i64 n = remove_stray_pass(dir_fd, name)) removed += n;
    close(dir_fd);
    return removed;
}

// ---- Paths and stamps --------------------------------------------------------------------

FileStamp file_stamp(StringView path) {
    FileStamp stamp{};
    PathBuffer p = make_path(path);
    struct stat st;
    if (!p.ok || stat(p.text, &st) != 0) return stamp;
    stamp.exists = true;
    stamp.is_regular = S_ISREG(st.st_mode);
    stamp.is_directory = S_ISDIR(st.st_mode);
    stamp.size = (i64)st.st_size;
    stamp.mtime_ns = (i64)st.st_mtim.tv_sec * 1000000000 + (i64)st.st_mtim.tv_nsec;
    stamp.inode = (u64)st.st_ino;
    stamp.device = (u64)st.st_dev;
    return stamp;
}

bool file_remove(StringView path) {
    PathBuffer p = make_path(path);
    struct stat st;
    return p.ok && lstat(p.text, &st) == 0 && S_ISREG(st.st_mode) && unlink(p.text) == 0;
}

bool directory_create_all(StringView path, u32 mode) {
    PathBuffer p = make_path(path);
    if (!p.ok) return false;
    i64 length = path.length;
    while (length > 1 && p.text[length - 1] == '/') p.text[--length] = 0;
    // Parents as mkdir -p makes them; the mode asked for is the last directory's.
    for (i64 i = 1; i < length; i++) {
        if (p.text[i] != '/' || p.text[i - 1] == '/') continue;
        p.text[i] = 0;
        mkdir(p.text, 0777);
        p.text[i] = '/';
    }
    mkdir(p.text, (mode_t)mode);
    struct stat st;
    return stat(p.text, &st) == 0 && S_ISDIR(st.st_mode);
}

// Visits the elements of `path` from the last to the first, skipping empty ones.
template <typename Visit>
static void elements_backwards(StringView path, Visit visit) {
    i64 end = path.length;
    while (end > 0) {
        while (end > 0 && path.data[end - 1] == '/') end--;
        i64 start = end;
        while (start > 0 && path.data[start - 1] != '/') start--;
        if (start < end) visit(sv_slice(path, start, end));
        end = start;
    }
}

StringView path_home_directory() {
    const char* home = getenv("HOME");
    return home ? sv_from_cstr(home) : StringView{nullptr, 0};
}

StringView path_absolute(StringView path, char* buffer, i64 capacity) {
    char cwd[PATH_MAX];
    StringView base{nullptr, 0};
    if (path.length == 0 || path.data[0] != '/') {
        if (!getcwd(cwd, sizeof cwd)) return StringView{buffer, 0};
        base = sv_from_cstr(cwd);
    }
    // Read from the end, a ".." drops the next kept element to its left: so an element
    // that a later ".." removes never has to fit in the buffer. The first pass measures,
    // the second writes from the end of the result towards its start.
    i64 length = 0;
    i64 skip = 0;
    i64 at = 0;
    bool writing = false;
    auto visit = [&](StringView element) {
        if (sv_equal(element, SV("."))) return;
        if (sv_equal(element, SV(".."))) {
            skip++;
            return;
        }
        if (skip > 0) {
            skip--;
            return;
        }
        if (!writing) {
            length += element.length + 1;
            return;
        }
        at -= element.length;
        memcpy(buffer + at, element.data, (size_t)element.length);
        buffer[--at] = '/';
    };
    elements_backwards(path, visit);
    elements_backwards(base, visit);
    if (length == 0) length = 1;  // "/" itself
    if (length > capacity) return StringView{buffer, 0};
    buffer[0] = '/';
    writing = true;
    skip = 0;
    at = length;
    elements_backwards(path, visit);
    elements_backwards(base, visit);
    return StringView{buffer, length};
}
