// Arenas and the core library: the cases that catch real faults.
#include <gtest/gtest.h>
#include <unistd.h>

#include "core/array.h"
#include "core/hash.h"
#include "core/sort.h"
#include "core/string_builder.h"
#include "test_support.h"

namespace {

class CoreTest : public ::testing::Test {
  protected:
    void SetUp() override { ensure_arenas(); pool_reset(pool_frame); }
};

TEST_F(CoreTest, AllocationAlignsAndBumps) {
    memory.arenas[pool_frame].used = 5;
    u8* p = (u8*)pool_alloc(pool_frame, 16);
    EXPECT_EQ(p, memory.arenas[pool_frame].base + 8);
    EXPECT_EQ(memory.arenas[pool_frame].used, 24);
    // A zero-size allocation is aligned and takes no space.
    u8* q = (u8*)pool_alloc(pool_frame, 0);
    EXPECT_EQ(q, memory.arenas[pool_frame].base + 24);
    EXPECT_EQ(memory.arenas[pool_frame].used, 24);
    pool_reset(pool_frame);
    EXPECT_EQ(pool_alloc(pool_frame, 1), (void*)memory.arenas[pool_frame].base);
}

TEST_F(CoreTest, ReallocGrowsLastBlockInPlaceAndCopiesOthers) {
    char* a = (char*)pool_alloc(pool_frame, 16);
    memcpy(a, "0123456789abcdef", 16);
    i64 used = memory.arenas[pool_frame].used;
    EXPECT_EQ(pool_realloc(pool_frame, a, 16, 32), (void*)a);
    EXPECT_EQ(memory.arenas[pool_frame].used, used + 16);
    pool_alloc(pool_frame, 3);  // `a` is no longer the last block
    char* b = (char*)pool_realloc(pool_frame, a, 32, 64);
    EXPECT_NE(b, a);
    EXPECT_EQ(((uintptr_t)b) % 8, 0u);
    EXPECT_EQ(memcmp(b, "0123456789abcdef", 16), 0);
}

TEST_F(CoreTest, BlocksOfAHugePageOrMoreStartWhereHugePagesBegin) {
    // pool_frame has no huge pages; pretend they begin 1 MiB in.
    const i64 mib = 1 << 20;
    Arena* a = &memory.arenas[pool_frame];
    a->huge_from = mib;
    u8* small = (u8*)pool_alloc(pool_frame, 16);
    EXPECT_EQ(small, a->base) << "small blocks stay among the small pages";
    memcpy(small, "0123456789abcdef", 16);
    // The last block growing to 2 MiB moves over, with its contents.
    u8* grown = (u8*)pool_realloc(pool_frame, small, 16, 2 * mib);
    EXPECT_EQ(grown, a->base + mib);
    EXPECT_EQ(memcmp(grown, "0123456789abcdef", 16), 0);
    pool_reset(pool_frame);
    pool_alloc(pool_frame, 100);
    EXPECT_EQ(pool_alloc(pool_frame, 2 * mib), (void*)(a->base + mib));
    // Past the boundary nothing moves.
    EXPECT_EQ(pool_alloc(pool_frame, 8), (void*)(a->base + 3 * mib));
    a->huge_from = 0;
}

TEST_F(CoreTest, GivingPagesBackKeepsWhatIsInUseAndTheKeptPart) {
    // pool_frame is 4 MiB: touch 3 MiB, keep the first 1 MiB and what is in use.
    const i64 mib = 1 << 20;
    u8* block = (u8*)pool_alloc(pool_frame, 3 * mib);
    memset(block, 0x5a, (size_t)(3 * mib));
    pool_reset(pool_frame);
    u8* live = (u8*)pool_alloc(pool_frame, 100);  // still in use: never given back
    EXPECT_EQ(live, block);
    i64 given = pool_give_back(pool_frame, mib);
    EXPECT_GE(given, 2 * mib - 4096);
    EXPECT_EQ(memory.arenas[pool_frame].touched, mib);
    EXPECT_EQ(block[0], 0x5a);
    EXPECT_EQ(block[mib - 1], 0x5a);
    EXPECT_EQ(block[mib + 4096], 0) << "the page was not given back";
    EXPECT_EQ(pool_give_back(pool_frame, mib), 0) << "nothing touched beyond the kept part";
    // The pool goes on serving from the pages it gave back.
    u8* again = (u8*)pool_alloc(pool_frame, 2 * mib);
    again[2 * mib - 1] = 7;
    EXPECT_EQ(again[2 * mib - 1], 7);
}

TEST(CoreDeathTest, UnknownPoolMessages) {
    ensure_arenas();
    // The child's stdout is redirected to stderr so the death-test matcher can read it.
    EXPECT_EXIT({ dup2(2, 1); pool_alloc(7, 8); }, ::testing::ExitedWithCode(0), "pool_alloc: unknown pool 7\n");
    EXPECT_EXIT({ dup2(2, 1); pool_alloc(200, 8); }, ::testing::ExitedWithCode(0), "pool_alloc: unknown pool -56\n");
    EXPECT_EXIT({ dup2(2, 1); pool_realloc(9, nullptr, 0, 8); }, ::testing::ExitedWithCode(0), "pool_realloc: unknown pool 9\n");
}

TEST(CoreDeathTest, ExhaustionStopsNamingThePool) {
    ensure_arenas();
    EXPECT_EXIT({ dup2(2, 1); pool_alloc(pool_editor, memory.arenas[pool_editor].capacity + 1); },
                ::testing::ExitedWithCode(1), "pool_editor exhausted");
    // Growing the last block past the end is caught too.
    EXPECT_EXIT({
        dup2(2, 1);
        pool_reset(pool_editor);
        void* p = pool_alloc(pool_editor, 8);
        pool_realloc(pool_editor, p, 8, memory.arenas[pool_editor].capacity + 8);
    }, ::testing::ExitedWithCode(1), "pool_editor exhausted");
}

TEST_F(CoreTest, ArrayGrowthAndEdits) {
    Array<i32> a{};
    a.pool = pool_frame;
    array_append(&a, 1);
    EXPECT_EQ(a.capacity, 1);
    array_append(&a, 2);
    EXPECT_EQ(a.capacity, 2);
    array_append(&a, 3);
    EXPECT_EQ(a.capacity, 4);
    array_remove(&a, 3);  // index equal to count: nothing
    EXPECT_EQ(a.count, 3);
    array_insert(&a, -5, 0);
    array_insert(&a, 99, 4);
    ASSERT_EQ(a.count, 5);
    for (i32 i = 0; i < 5; i++) EXPECT_EQ(a[i], i);
    array_remove_first(&a);
    EXPECT_EQ(a[0], 1);
    Array<i32> empty{};
    empty.pool = pool_frame;
    Array<i32> copy = array_copy(empty);
    EXPECT_EQ(copy.data, nullptr);
    EXPECT_EQ(copy.pool, pool_frame);
    Array<u8> bytes{};
    bytes.pool = pool_frame;
    array_resize(&bytes, 10);
    EXPECT_EQ(bytes.capacity, 10);
    append_bytes(&bytes, "abc", 3);
    EXPECT_EQ(bytes.count, 13);
    EXPECT_EQ(memcmp(bytes.data + 10, "abc", 3), 0);
}

TEST_F(CoreTest, StringHelpers) {
    EXPECT_TRUE(ends_with(SV("main.vnt"), SV("")));
    EXPECT_FALSE(ends_with(SV(".c"), SV("x.c")));
    EXPECT_TRUE(ends_with(SV("x.c"), SV(".c")));
    EXPECT_LT(sv_compare(SV("a"), SV("ab")), 0);
    EXPECT_LT(sv_compare(SV("ab"), SV("b")), 0);
    EXPECT_GT(sv_compare(SV("\xc3"), SV("z")), 0);  // bytes compare unsigned
    OwnedString s{};
    string_assign(&s, SV("hello world"), pool_frame);
    char* storage = s.data;
    string_assign(&s, SV("bye"), pool_frame);
    EXPECT_EQ(s.data, storage);  // shorter text reuses the storage
    EXPECT_TRUE(sv_equal(owned_view(s), SV("bye")));
    i64 pos = 0;
    EXPECT_EQ(parse_integer(SV("-42x"), &pos), -42);
    EXPECT_EQ(pos, 3);
    pos = 0;
    EXPECT_EQ(parse_integer(SV("x"), &pos), 0);
    pos = 0;
    EXPECT_DOUBLE_EQ(parse_decimal(SV("0.25 1"), &pos), 0.25);
    // More than 64 digits: the rest is consumed but not stored; nothing overflows.
    char big[200];
    memset(big, '9', sizeof big);
    pos = 0;
    f64 v = parse_decimal(StringView{big, 200}, &pos);
    EXPECT_EQ(pos, 200);
    EXPECT_GT(v, 1e63);
}

TEST_F(CoreTest, BuilderNumbers) {
    StringBuilder b{};
    b.pool = pool_frame;
    append_int(&b, -45);
    append_char(&b, ' ');
    append_int(&b, 0);
    append_char(&b, ' ');
    append_int(&b, INT64_MIN);
    EXPECT_TRUE(sv_equal(builder_view(b), SV("-45 0 -9223372036854775808")));
    EXPECT_EQ(b.max, b.count);
    b.count = 0;
    EXPECT_GT(b.max, 0);
    struct Case { f64 value; const char* text; } cases[] = {
        {12, "12"}, {0.5, "0.5"}, {9.99999, "10"}, {1000 * 0.016666668f, "16.6667"}, {-0.25, "-0.25"},
        {1.00004, "1"}, {1.00005, "1.0001"}, {0, "0"}, {1.0 / 0.0, "infinity"}, {-1.0 / 0.0, "-infinity"},
        {0.0 / 0.0, "nan"}, {99.99996, "100"}, {12.5, "12.5"},
    };
    for (const Case& c : cases) {
        char out[320];
        i64 n = format_decimal(c.value, out);
        EXPECT_EQ(std::string(out, (size_t)n), c.text) << c.value;
    }
}

TEST_F(CoreTest, IntMapGrowthRule) {
    IntMap m{};
    m.pool = pool_frame;
    for (u32 k = 1; k <= 4; k++) intmap_insert(&m, k * 1000, k);
    EXPECT_EQ(m.slot_count, 8);
    intmap_insert(&m, 5000, 5);
    EXPECT_EQ(m.slot_count, 8);
    EXPECT_EQ(m.max_probe, 3);
    intmap_insert(&m, 6000, 6);  // more than half full before the sixth: grow
    EXPECT_EQ(m.slot_count, 16);
    EXPECT_EQ(m.max_probe, 4);
    for (u32 k = 1; k <= 6; k++) EXPECT_EQ(intmap_lookup(&m, k * 1000), k);
    EXPECT_EQ(intmap_lookup(&m, 7), 0u);
    EXPECT_EQ(intmap_hash(0xFFFD), 0xDD152F11u);
    // A key inserted twice: lookup finds the entry met first along the probe path.
    intmap_insert(&m, 42, 7);
    intmap_insert(&m, 42, 8);
    EXPECT_EQ(intmap_lookup(&m, 42), 7u);
}

TEST_F(CoreTest, IntMapManyKeysStayFindable) {
    IntMap m{};
    m.pool = pool_frame;
    for (u32 k = 0; k < 5000; k++) intmap_insert(&m, k * 7919u, k + 1);
    for (u32 k = 0; k < 5000; k++) ASSERT_EQ(intmap_lookup(&m, k * 7919u), k + 1);
    EXPECT_LE(m.entry_count * 2, m.slot_count + 2);
}

TEST_F(CoreTest, SymbolMapKeysAndDuplicates) {
    SymbolMap m{};
    m.pool = pool_frame;
    Symbol s{6, 0, 10, 3, 0, SV("f")};
    EXPECT_EQ(symbolmap_insert(&m, s), nullptr);
    Symbol again{7, 0, 11, 3, 0, SV("f")};
    Symbol* existing = symbolmap_insert(&m, again);
    ASSERT_NE(existing, nullptr);
    EXPECT_EQ(existing->value, 10);  // the first declaration is kept
    EXPECT_EQ(symbolmap_insert(&m, Symbol{6, 1, 12, 3, 0, SV("f")}), nullptr);  // other flag
    EXPECT_EQ(symbolmap_insert(&m, Symbol{6, 0, 13, 4, 0, SV("f")}), nullptr);  // other scope
    Array<Symbol> found{};
    found.pool = pool_frame;
    EXPECT_TRUE(symbolmap_lookup(&m, 1, 3, SV("f"), &found));
    EXPECT_EQ(found[0].value, 12);
    EXPECT_FALSE(symbolmap_lookup(&m, 0, 5, SV("f"), &found));
    char names[600][8];
    for (int i = 0; i < 600; i++) {
        snprintf(names[i], 8, "n%d", i);
        symbolmap_insert(&m, Symbol{9, 0, i, 0, 0, sv_from_cstr(names[i])});
    }
    for (int i = 0; i < 600; i++) {
        Symbol* f = symbolmap_find(&m, 0, 0, sv_from_cstr(names[i]));
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->value, i);
    }
}

TEST_F(CoreTest, MergeSortIsStableAndSkipsSortedInput) {
    StringView names[] = {SV("b"), SV("a"), SV("ab")};
    sort_strings(names, 3, pool_frame);
    EXPECT_TRUE(sv_equal(names[0], SV("a")));
    EXPECT_TRUE(sv_equal(names[1], SV("ab")));
    EXPECT_TRUE(sv_equal(names[2], SV("b")));

    struct Item { i32 key; i32 order; };
    Item items[200], scratch[200];
    for (int i = 0; i < 200; i++) items[i] = Item{(i * 37) % 10, i};
    merge_sort(items, 0, 200, scratch, [](const Item& a, const Item& b) { return a.key < b.key; });
    for (int i = 1; i < 200; i++) {
        ASSERT_LE(items[i - 1].key, items[i].key);
        if (items[i - 1].key == items[i].key) {
            ASSERT_LT(items[i - 1].order, items[i].order);
        }
    }
    Item sorted[4] = {{1, 0}, {2, 1}, {2, 2}, {3, 3}};
    Item untouched[4];
    memset(untouched, 0x5a, sizeof untouched);
    merge_sort(sorted, 0, 4, untouched, [](const Item& a, const Item& b) { return a.key < b.key; });
    for (const Item& it : untouched) EXPECT_EQ(it.key, 0x5a5a5a5a);
}

TEST_F(CoreTest, Fnv1aKnownValues) {
    EXPECT_EQ(fnv1a("", 0), 0x811c9dc5u);
    EXPECT_EQ(fnv1a("a", 1), 0xe40c292cu);
    EXPECT_EQ(fnv1a("foobar", 6), 0xbf9cf968u);
}

}  // namespace
