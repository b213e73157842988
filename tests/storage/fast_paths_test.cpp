// The engine's shortcuts against the plain behaviour they stand in for: entries kept aside until
// the commit, entries that view their page's decoded block, comparisons settled on a key's
// leading bytes, the directly indexed page cache and in-place expansion of page bodies.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "storage/entry_kinds.h"
#include "storage/page_cache.h"
#include "storage/page_compression.h"
#include "tests/storage/storage_test_support.h"

namespace quillery::storage {
namespace {

using testing::bytesOf;
using testing::openOn;

Bytes countKey(std::uint8_t subject) {
    return metadataKey(1, subject);
}

Bytes storedData(DataFile& file, const Bytes& key) {
    Bytes data;
    EXPECT_TRUE(Tree(file).find(key, &data));
    return data;
}

// A committed file holding one count entry and enough records to span several pages.
std::shared_ptr<MemoryDisk> fileWithCount(Metadata count) {
    auto disk = std::make_shared<MemoryDisk>();
    auto file = openOn(disk);
    Tree tree(*file);
    tree.put(countKey(0), encodeMetadata(count));
    for (int i = 0; i < 400; ++i)
        tree.put(recordKey(1, static_cast<RecordNumber>(i + 1)), Bytes(60, 'r'));
    EXPECT_TRUE(file->commit().ok());
    return disk;
}

TEST(KeptEntries, ReachTheTreeOnlyWhenACommitStarts) {
    auto disk = fileWithCount({5, 0});
    auto file = openOn(disk);
    Bytes data;
    ASSERT_TRUE(file->readKept(countKey(0), data));
    EXPECT_EQ(data, encodeMetadata({5, 0}));

    file->writeKept(countKey(0), encodeMetadata({6, 0}));
    file->writeKept(countKey(0), encodeMetadata({7, 2}));
    EXPECT_TRUE(file->hasChanges());
    ASSERT_TRUE(file->readKept(countKey(0), data));
    EXPECT_EQ(data, encodeMetadata({7, 2}));
    EXPECT_EQ(storedData(*file, countKey(0)), encodeMetadata({5, 0}))
        << "a tree search sees the committed value until the commit";

    ASSERT_TRUE(file->commit().ok());
    EXPECT_EQ(storedData(*file, countKey(0)), encodeMetadata({7, 2}));
    EXPECT_FALSE(file->hasChanges());
    auto reopened = openOn(disk);
    EXPECT_EQ(storedData(*reopened, countKey(0)), encodeMetadata({7, 2}));
    testing::expectClean(*reopened);
}

TEST(KeptEntries, DiscardForgetsThem) {
    auto disk = fileWithCount({5, 0});
    auto file = openOn(disk);
    file->writeKept(countKey(0), encodeMetadata({99, 0}));
    ASSERT_TRUE(file->discardChanges().ok());
    EXPECT_FALSE(file->hasChanges());
    Bytes data;
    ASSERT_TRUE(file->readKept(countKey(0), data));
    EXPECT_EQ(data, encodeMetadata({5, 0}));
}

TEST(KeptEntries, NewEntriesAndNewLengthsGoStraightIntoTheTree) {
    auto disk = fileWithCount({5, 0});
    auto file = openOn(disk);
    const Bytes absent = countKey(3);
    Bytes data;
    EXPECT_FALSE(file->readKept(absent, data));
    file->writeKept(absent, bytesOf("new"));
    EXPECT_EQ(storedData(*file, absent), bytesOf("new"));

    file->writeKept(countKey(0), bytesOf("longer than before"));
    EXPECT_EQ(storedData(*file, countKey(0)), bytesOf("longer than before"));
    ASSERT_TRUE(file->readKept(countKey(0), data));
    EXPECT_EQ(data, bytesOf("longer than before"));

    const Bytes longKey = bytesOf("a key of more than eight bytes");
    file->writeKept(longKey, bytesOf("x"));
    EXPECT_EQ(storedData(*file, longKey), bytesOf("x"));
}

// Counting through kept entries and writing each change through the tree give the same file,
// byte for byte: the tree's shape never depends on when the counts reach it.
TEST(KeptEntries, FileBytesEqualWritingThrough) {
    auto kept = fileWithCount({0, 0});
    auto through = std::make_shared<MemoryDisk>(*kept);
    std::mt19937 rng(7);
    for (int round = 0; round < 6; ++round) {
        auto a = openOn(kept);
        auto b = openOn(through);
        for (int i = 0; i < 300; ++i) {
            const Bytes key = recordKey(2, static_cast<RecordNumber>(rng() % 5000 + 1));
            const Bytes data = testing::randomBytes(rng, rng() % 90 + 1);
            Tree(*a).put(key, data);
            Tree(*b).put(key, data);
            Bytes count;
            ASSERT_TRUE(a->readKept(countKey(0), count));
            Metadata m;
            ASSERT_TRUE(decodeMetadata(count, m));
            ++m.count;
            a->writeKept(countKey(0), encodeMetadata(m));
            Tree(*b).put(countKey(0), encodeMetadata(m));
        }
        ASSERT_TRUE(a->commit().ok());
        ASSERT_TRUE(b->commit().ok());
        ASSERT_EQ(kept->bytes, through->bytes) << "round " << round;
    }
}

TEST(EntryViews, CopiesOwnTheirBytesAndMovesKeepTheirView) {
    Entry owned = makeEntry(bytesOf("key"), bytesOf("data"));
    Entry copy = owned;
    owned = makeEntry(bytesOf("other"), {});
    EXPECT_EQ(Bytes(copy.key().begin(), copy.key().end()), bytesOf("key"));
    EXPECT_EQ(Bytes(copy.data().begin(), copy.data().end()), bytesOf("data"));

    const Bytes block = bytesOf("viewedbytes");
    Entry view = Entry::viewing(block.data(), block.size(), 6);
    Entry viewCopy = view;
    EXPECT_EQ(viewCopy.bytes().data(), block.data()) << "a copy of a view views the same block";
    std::vector<Entry> many;
    for (int i = 0; i < 100; ++i)
        many.push_back(i % 2 ? view : copy);  // growth moves them all
    EXPECT_EQ(Bytes(many[99].key().begin(), many[99].key().end()), bytesOf("viewed"));
    EXPECT_EQ(Bytes(many[98].data().begin(), many[98].data().end()), bytesOf("data"));
}

TEST(EntryViews, SplitPagesKeepTheBlocksTheirEntriesView) {
    auto disk = std::make_shared<MemoryDisk>();
    testing::Model model;
    {
        auto file = openOn(disk);
        for (int i = 0; i < 300; ++i) {
            const Bytes key = recordKey(1, static_cast<RecordNumber>(i * 2 + 1));
            Tree(*file).put(key, Bytes(50, static_cast<std::uint8_t>(i)));
            model[key] = Bytes(50, static_cast<std::uint8_t>(i));
        }
        ASSERT_TRUE(file->commit().ok());
    }
    // Reopened, the pages are decoded views; inserting between them splits them.
    auto file = openOn(disk);
    for (int i = 0; i < 300; ++i) {
        const Bytes key = recordKey(1, static_cast<RecordNumber>(i * 2 + 2));
        Tree(*file).put(key, Bytes(70, 'n'));
        model[key] = Bytes(70, 'n');
    }
    EXPECT_TRUE(testing::sameContents(testing::contentsOf(*file), model));
    ASSERT_TRUE(file->commit().ok());
    auto reopened = openOn(disk);
    EXPECT_TRUE(testing::sameContents(testing::contentsOf(*reopened), model));
    testing::expectClean(*reopened);
}

// Comparing through heads must agree with the plain comparison on every pair, above all on keys
// that differ only past the sixteenth byte, in length, or in trailing zero bytes.
TEST(KeyHeads, AgreeWithByteComparison) {
    std::mt19937 rng(11);
    std::vector<Bytes> keys = {{},           {0},          {0, 0},       {1},
                               Bytes(16, 7), Bytes(17, 7), Bytes(15, 7), Bytes(40, 0)};
    for (int i = 0; i < 400; ++i) {
        Bytes k(rng() % 24, 0);
        for (auto& b : k)
            b = static_cast<std::uint8_t>(rng() % 3);  // few values: many shared prefixes
        keys.push_back(k);
    }
    for (const Bytes& a : keys) {
        for (const Bytes& b : keys) {
            ASSERT_EQ(compareHeaded(KeyHead::of(a), a, KeyHead::of(b), b), compareBytes(a, b))
                << "keys of " << a.size() << " and " << b.size() << " bytes";
        }
    }
}

// Making a page's image again from its old image and the noted changes gives exactly the image
// made from scratch, whatever the changes: inserts, erases and replacements anywhere, several at
// once, at the first and the last entry, on leaves and index pages, compressed or not.
TEST(ImageSplicing, EqualsBuildingFromScratch) {
    std::mt19937 rng(5);
    const auto randomEntry = [&](bool indexPage) {
        Bytes key = bytesOf("\0\0\0\1");
        key.push_back(static_cast<std::uint8_t>(rng() % 3));  // long shared prefixes
        const std::size_t extra = rng() % 30;
        for (std::size_t i = 0; i < extra; ++i)
            key.push_back(rng() % 4 == 0 ? ' ' : static_cast<std::uint8_t>('a' + rng() % 3));
        const Bytes data = indexPage ? Bytes{} : Bytes(rng() % 60, rng() % 2 ? ' ' : 'd');
        return makeEntry(key, data);
    };
    const auto sorted = [](std::vector<Entry>& entries) {
        std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
            return compareBytes(a.key(), b.key()) < 0;
        });
        entries.erase(std::unique(entries.begin(), entries.end(),
                                  [](const Entry& a, const Entry& b) {
                                      return compareBytes(a.key(), b.key()) == 0;
                                  }),
                      entries.end());
    };
    int spliced = 0;
    for (int trial = 0; trial < 400; ++trial) {
        PageContent page;
        page.level = trial % 4 == 0 ? 1 : 0;
        const std::size_t count = rng() % 40 + 2;
        for (std::size_t i = 0; i < count; ++i)
            page.entries.push_back(randomEntry(page.level > 0));
        sorted(page.entries);
        page.children.assign(page.entries.size(), 7);
        Bytes old;
        ASSERT_TRUE(tryBuildPageImage(page, old));

        EntryChanges changes;
        const int steps = static_cast<int>(rng() % 3) + 1;
        for (int step = 0; step < steps && page.entries.size() > 1; ++step) {
            auto& entries = page.entries;
            const std::size_t at = rng() % entries.size();
            switch (rng() % 3) {
                case 0: {  // insert a key between its neighbours
                    Entry e = randomEntry(page.level > 0);
                    const auto place = std::lower_bound(
                        entries.begin(), entries.end(), e, [](const Entry& a, const Entry& b) {
                            return compareBytes(a.key(), b.key()) < 0;
                        });
                    if (place != entries.end() && compareBytes(place->key(), e.key()) == 0) break;
                    const std::size_t pos = static_cast<std::size_t>(place - entries.begin());
                    entries.insert(place, std::move(e));
                    page.children.insert(page.children.begin(), 7);
                    changes.inserted(pos, entries.size());
                    break;
                }
                case 1:  // erase
                    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(at));
                    page.children.pop_back();
                    changes.erased(at, entries.size());
                    break;
                default: {  // replace the data, or the whole entry on an index page
                    const Bytes key(entries[at].key().begin(), entries[at].key().end());
                    entries[at] = makeEntry(key, page.level > 0 ? Bytes{} : Bytes(rng() % 90, 'x'));
                    changes.replaced(at, entries.size());
                    break;
                }
            }
        }
        Bytes expected;
        ASSERT_TRUE(tryBuildPageImage(page, expected));
        Bytes rebuilt;
        ASSERT_TRUE(tryRebuildPageImage(page, fillMeasure(page), changes, old, rebuilt));
        ASSERT_EQ(rebuilt, expected) << "trial " << trial;
        spliced += changes.firstChanged != EntryChanges::kNone;
    }
    EXPECT_GT(spliced, 300) << "the old image was used in most trials";

    // Changes the noting does not follow make the image from scratch.
    PageContent page;
    page.entries.push_back(makeEntry(bytesOf("a"), {}));
    page.entries.push_back(makeEntry(bytesOf("b"), {}));
    Bytes old;
    ASSERT_TRUE(tryBuildPageImage(page, old));
    page.entries[0] = makeEntry(bytesOf("A"), bytesOf("new"));
    EntryChanges unknown;
    unknown.forget();
    Bytes expected, rebuilt;
    ASSERT_TRUE(tryBuildPageImage(page, expected));
    ASSERT_TRUE(tryRebuildPageImage(page, fillMeasure(page), unknown, old, rebuilt));
    EXPECT_EQ(rebuilt, expected);
}

// The bytes of entries before the change come from the old image, not from the entries: a mark
// put into the old image's first entry survives a change of the last one.
TEST(ImageSplicing, TakesTheUnchangedBytesFromTheOldImage) {
    PageContent page;
    page.entries.push_back(makeEntry(bytesOf("k1"), bytesOf("abcdefgh")));
    page.entries.push_back(makeEntry(bytesOf("k2"), bytesOf("ijklmnop")));
    page.entries.push_back(makeEntry(bytesOf("k3"), bytesOf("qrstuvwx")));
    Bytes old;
    ASSERT_TRUE(tryBuildPageImage(page, old));
    ASSERT_EQ(loadLe16(&old[0x04]), loadLe16(&old[0x06])) << "stored uncompressed";
    const auto mark = std::search(old.begin(), old.end(), std::begin("abc"), std::end("abc") - 1);
    ASSERT_NE(mark, old.end());
    *mark = 'Z';
    page.entries[2] = makeEntry(bytesOf("k3"), bytesOf("changed!"));
    EntryChanges changes;
    changes.replaced(2, page.entries.size());
    Bytes rebuilt;
    ASSERT_TRUE(tryRebuildPageImage(page, fillMeasure(page), changes, old, rebuilt));
    const Bytes expectMark = bytesOf("Zbcdefgh");
    const Bytes expectChange = bytesOf("changed!");
    EXPECT_NE(std::search(rebuilt.begin(), rebuilt.end(), expectMark.begin(), expectMark.end()),
              rebuilt.end());
    EXPECT_NE(std::search(rebuilt.begin(), rebuilt.end(), expectChange.begin(), expectChange.end()),
              rebuilt.end());
}

TEST(PageCacheSlots, FindsPlacedAndTemporaryPagesAcrossRenumbering) {
    PageCache cache;
    for (PageNumber p : {0, 1, 99, 100, 101, 12345, -1, -2, -100, -101}) {
        auto page = std::make_unique<CachedPage>();
        page->number = p;
        ASSERT_NE(cache.insert(std::move(page)), nullptr);
    }
    EXPECT_EQ(cache.size(), 10u);
    for (PageNumber p : {0, 1, 99, 100, 101, 12345, -1, -2, -100, -101})
        ASSERT_NE(cache.find(p), nullptr) << p;
    EXPECT_EQ(cache.find(2), nullptr);
    EXPECT_EQ(cache.find(-3), nullptr);
    EXPECT_EQ(cache.find(1'000'000), nullptr);

    CachedPage* moved = cache.find(-101);
    cache.renumber(-101, 7);
    EXPECT_EQ(cache.find(-101), nullptr);
    EXPECT_EQ(cache.find(7), moved);
    EXPECT_EQ(moved->number, 7);

    EXPECT_NE(cache.remove(99), nullptr);
    EXPECT_EQ(cache.find(99), nullptr);
    EXPECT_EQ(cache.remove(99), nullptr);
    EXPECT_EQ(cache.size(), 9u);
    cache.clear();
    EXPECT_EQ(cache.size(), 0u);
    EXPECT_EQ(cache.find(0), nullptr);
}

TEST(Expansion, InPlaceMatchesTheGrowingFormAndRefusesTheSameInput) {
    std::mt19937 rng(3);
    for (int i = 0; i < 200; ++i) {
        Bytes body = testing::randomBytes(rng, rng() % 600 + 1);
        for (int r = 0; r < 4; ++r) {  // runs of spaces, as padded text has
            const std::size_t at = rng() % body.size();
            std::fill(
                body.begin() + static_cast<std::ptrdiff_t>(at),
                body.begin() + static_cast<std::ptrdiff_t>(std::min(body.size(), at + rng() % 40)),
                ' ');
        }
        Bytes packed;
        if (!compressBodyInto(body, packed)) continue;
        Bytes out(body.size(), 0xEE);
        ASSERT_TRUE(decompressBodyInto(packed, out));
        ASSERT_EQ(out, body);
        Bytes shorter(body.size() - 1);
        EXPECT_FALSE(decompressBodyInto(packed, shorter));
        Bytes grown = bytesOf("kept");
        ASSERT_TRUE(decompressBody(packed, body.size(), grown));
        EXPECT_EQ(Bytes(grown.begin() + 4, grown.end()), body);
        Bytes failed = bytesOf("kept");
        EXPECT_FALSE(decompressBody(packed, body.size() + 1, failed));
        EXPECT_EQ(failed, bytesOf("kept")) << "a failure leaves what was there";
    }
}

TEST(Expansion, ABodyEndingInARunClosesWithAZeroLiteralCount) {
    const Bytes body = bytesOf("ab      ");
    Bytes packed;
    ASSERT_TRUE(compressBodyInto(body, packed));
    EXPECT_EQ(packed, (Bytes{0x03, 'a', 'b', ' ', 0x05, 0x00}));
    Bytes out(body.size());
    ASSERT_TRUE(decompressBodyInto(packed, out));
    EXPECT_EQ(out, body);
    Bytes trailing = packed;
    trailing.push_back('x');
    EXPECT_FALSE(decompressBodyInto(trailing, out)) << "bytes after the end";
    Bytes unclosed(packed.begin(), packed.end() - 1);
    EXPECT_FALSE(decompressBodyInto(unclosed, out)) << "no closing count";
}

}  // namespace
}  // namespace quillery::storage
