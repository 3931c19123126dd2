// Files and directories on POSIX.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

SaveResult file_save_atomic(StringView path, StringView content) {
    PathBuffer p = make_path(path);
    if (!p.ok) return save_open_failed;
    char temp[4200];
    snprintf(temp, sizeof temp, "%s.tesmora-save-XXXXXX", p.text);
    int fd = mkstemp(temp);
    if (fd < 0) return save_open_failed;
    struct stat original;
    mode_t mode = 0644;
    if (stat(p.text, &original) == 0) mode = original.st_mode & 07777;
    else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    FileHandle file{fd};
    bool ok = file_write(file, content.length, content.data);
    ok = ok && fchmod(fd, mode) == 0;
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temp, p.text) == 0;
    if (!ok) {
        unlink(temp);
        return save_write_failed;
    }
    // Make the rename itself durable.
    char dir[4200];
    snprintf(dir, sizeof dir, "%s", p.text);
    char* slash = strrchr(dir, '/');
    if (slash) *slash = 0;
    else snprintf(dir, sizeof dir, ".");
    int dfd = open(slash && dir[0] == 0 ? "/" : dir, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
    return save_ok;
}
