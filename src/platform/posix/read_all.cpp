// Whole-file reading on top of the file calls: one place for size limits and short reads.
#include "platform/platform.h"

namespace {
struct Opened {
    FileHandle file;
    i64 size;
    ReadStatus status;
};

Opened open_for_reading(StringView path, i64 limit, bool cut_at_limit) {
    Opened o{file_open(path, file_mode_read), 0, read_ok};
    if (file_failed(o.file)) {
        o.status = read_cannot_open;
        return o;
    }
    o.size = file_size(o.file);
    if (o.size < 0) o.size = 0;
    if (o.size > limit && !cut_at_limit) {
        file_close(o.file);
        o.status = read_too_large;
    }
    return o;
}
}  // namespace

FileContents file_read_all(StringView path, u8 pool, i64 limit, bool cut_at_limit) {
    if (limit < 0) limit = 0;
    Opened o = open_for_reading(path, limit, cut_at_limit);
    FileContents out{o.status, StringView{nullptr, 0}, o.size};
    if (o.status != read_ok) return out;
    i64 wanted = o.size < limit ? o.size : limit;
    char* bytes = (char*)pool_alloc(pool, wanted > 0 ? wanted : 1);
    i64 read = file_read(o.file, wanted, bytes);
    file_close(o.file);
    out.bytes = StringView{bytes, read};
    return out;
}

FileContents file_read_all_to(StringView path, void* destination, i64 limit) {
    if (limit < 0) limit = 0;
    Opened o = open_for_reading(path, limit, false);
    FileContents out{o.status, StringView{nullptr, 0}, o.size};
    if (o.status != read_ok) return out;
    i64 read = file_read(o.file, o.size, destination);
    file_close(o.file);
    out.bytes = StringView{(const char*)destination, read};
    return out;
}

FileContents file_read_all_into(StringView path, Array<u8>* into, i64 limit, i64 extra) {
    if (limit < 0) limit = 0;
    Opened o = open_for_reading(path, limit, false);
    FileContents out{o.status, StringView{nullptr, 0}, o.size};
    if (o.status != read_ok) return out;
    array_resize(into, o.size + (extra > 0 ? extra : 0));
    i64 read = file_read(o.file, o.size, into->data);
    file_close(o.file);
    into->count = read;
    out.bytes = StringView{(const char*)into->data, read};
    return out;
}
