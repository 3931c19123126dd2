// Recovery file bytes: never crash; what is read lies inside the input, and a file that
// reads as valid is exactly what the writer makes of what was read.
#include <cstdlib>
#include <cstring>

#include "editor/recovery_file.h"

namespace {
bool inside(StringView s, const u8* data, size_t size) {
    if (s.length < 0 || (size_t)s.length > size) return false;
    return s.length == 0 || ((const u8*)s.data >= data && (const u8*)s.data + s.length <= data + size);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    StringView bytes{(const char*)data, (i64)size};
    RecoveryContent header{};
    bool header_ok = recovery_parse_header(bytes, &header);
    if (header_ok && (!inside(header.document, data, size) || !inside(header.project, data, size))) abort();
    RecoveryContent whole{};
    if (!recovery_parse(bytes, &whole)) return 0;
    if (!header_ok) abort();
    if (!inside(whole.document, data, size) || !inside(whole.project, data, size) || !inside(whole.text, data, size))
        abort();
    static char written[recovery_header_capacity];
    i64 n = recovery_header(written, sizeof written, whole.document, whole.project, whole.text);
    if (n < 0 || n + whole.text.length != (i64)size || memcmp(written, data, (size_t)n) != 0) abort();
    return 0;
}
