#include "editor/recovery_file.h"

namespace {
constexpr StringView magic = SV("tesmora recovery 1\n");
constexpr i64 longest_path = 4095;

u64 fnv1a64(const char* bytes, i64 length, u64 h) {
    for (i64 i = 0; i < length; i++) {
        h ^= (u8)bytes[i];
        h *= 1099511628211ull;
    }
    return h;
}

constexpr u64 fnv64_basis = 14695981039346656037ull;

struct Writer {
    char* out;
    i64 capacity;
    i64 length;
    bool ok;
};

void put(Writer* w, StringView s) {
    if (!w->ok || s.length > w->capacity - w->length) {
        w->ok = false;
        return;
    }
    if (s.length > 0) memcpy(w->out + w->length, s.data, (size_t)s.length);
    w->length += s.length;
}

void put_hex(Writer* w, u64 value) {
    char digits[16];
    for (int i = 15; i >= 0; i--) {
        digits[i] = "0123456789abcdef"[value & 15];
        value >>= 4;
    }
    put(w, StringView{digits, 16});
}

void put_decimal(Writer* w, i64 value) {
    char digits[24];
    i64 n = 0;
    u64 v = value < 0 ? 0 : (u64)value;
    do {
        digits[sizeof digits - 1 - n++] = (char)('0' + v % 10);
        v /= 10;
    } while (v > 0);
    put(w, StringView{digits + sizeof digits - n, n});
}

bool holds_line_break(StringView s) {
    for (i64 i = 0; i < s.length; i++)
        if (s.data[i] == '\n' || s.data[i] == '\r') return true;
    return false;
}

struct Reader {
    StringView bytes;
    i64 at;
};

// The rest of the line after `word` (which must start it), without its "\n".
bool line_value(Reader* r, StringView word, StringView* value) {
    StringView rest = sv_slice(r->bytes, r->at, r->bytes.length);
    if (!starts_with(rest, word)) return false;
    const char* end = (const char*)memchr(rest.data + word.length, '\n', (size_t)(rest.length - word.length));
    if (!end) return false;
    *value = StringView{rest.data + word.length, end - (rest.data + word.length)};
    r->at += (end - rest.data) + 1;
    return true;
}

bool parse_decimal_exact(StringView s, i64* out) {
    // One spelling per number (no leading zeros), as the writer spells it.
    if (s.length < 1 || s.length > 18 || (s.length > 1 && s.data[0] == '0')) return false;
    i64 v = 0;
    for (i64 i = 0; i < s.length; i++) {
        if (s.data[i] < '0' || s.data[i] > '9') return false;
        v = v * 10 + (s.data[i] - '0');
    }
    *out = v;
    return true;
}

bool parse_hex_exact(StringView s, u64* out) {
    if (s.length != 16) return false;
    u64 v = 0;
    for (i64 i = 0; i < 16; i++) {
        char c = s.data[i];
        u64 d;
        if (c >= '0' && c <= '9') d = (u64)(c - '0');
        else if (c >= 'a' && c <= 'f') d = (u64)(c - 'a' + 10);
        else return false;
        v = (v << 4) | d;
    }
    *out = v;
    return true;
}

struct Header {
    StringView document, project;
    i64 length;
    u64 checksum;
    i64 text_start;
};

bool read_header(StringView bytes, Header* h) {
    if (!starts_with(bytes, magic)) return false;
    Reader r{bytes, magic.length};
    StringView length_text, checksum_text, blank;
    if (!line_value(&r, SV("document "), &h->document) || !line_value(&r, SV("project "), &h->project) ||
        !line_value(&r, SV("length "), &length_text) || !line_value(&r, SV("checksum "), &checksum_text) ||
        !line_value(&r, SV(""), &blank))
        return false;
    if (blank.length != 0 || h->document.length == 0 || h->document.length > longest_path ||
        h->project.length > longest_path || holds_line_break(h->document) || holds_line_break(h->project))
        return false;
    if (!parse_decimal_exact(length_text, &h->length) || !parse_hex_exact(checksum_text, &h->checksum)) return false;
    h->text_start = r.at;
    return true;
}
}  // namespace

u64 recovery_checksum(StringView text) { return fnv1a64(text.data, text.length, fnv64_basis); }

i64 recovery_header(char* out, i64 capacity, StringView document, StringView project, StringView text) {
    return recovery_header_parts(out, capacity, document, project, &text, 1);
}

i64 recovery_header_parts(char* out, i64 capacity, StringView document, StringView project, const StringView* parts,
                          i64 count) {
    i64 length = 0;
    u64 checksum = fnv64_basis;
    for (i64 i = 0; i < count; i++) {
        length += parts[i].length;
        checksum = fnv1a64(parts[i].data, parts[i].length, checksum);
    }
    if (document.length <= 0 || document.length > longest_path || project.length > longest_path) return -1;
    if (holds_line_break(document) || holds_line_break(project)) return -1;
    Writer w{out, capacity, 0, true};
    put(&w, magic);
    put(&w, SV("document "));
    put(&w, document);
    put(&w, SV("\nproject "));
    put(&w, project);
    put(&w, SV("\nlength "));
    put_decimal(&w, length);
    put(&w, SV("\nchecksum "));
    put_hex(&w, checksum);
    put(&w, SV("\n\n"));
    return w.ok ? w.length : -1;
}

bool recovery_parse_header(StringView bytes, RecoveryContent* out) {
    Header h;
    if (!read_header(bytes, &h)) return false;
    out->document = h.document;
    out->project = h.project;
    out->text = StringView{nullptr, 0};
    return true;
}

bool recovery_parse(StringView bytes, RecoveryContent* out) {
    Header h;
    if (!read_header(bytes, &h)) return false;
    if (bytes.length - h.text_start != h.length) return false;
    StringView text = sv_slice(bytes, h.text_start, bytes.length);
    if (recovery_checksum(text) != h.checksum) return false;
    out->document = h.document;
    out->project = h.project;
    out->text = text;
    return true;
}

void recovery_file_name(char* out, StringView project, StringView document) {
    u64 h = fnv1a64(project.data, project.length, fnv64_basis);
    h = fnv1a64("\n", 1, h);
    h = fnv1a64(document.data, document.length, h);
    for (int i = 15; i >= 0; i--) {
        out[i] = "0123456789abcdef"[h & 15];
        h >>= 4;
    }
    memcpy(out + 16, recovery_file_ending.data, (size_t)recovery_file_ending.length);
}
