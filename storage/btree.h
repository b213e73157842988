// The B-tree of a data file: every entry of every table, in byte-wise key order. Index pages
// hold, per child, the child's lowest key (no data) and its page number in the child array.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "storage/data_file.h"
#include "storage/entry_encoding.h"
#include "storage/status.h"

namespace quillery::storage {

class Tree {
  public:
    explicit Tree(DataFile& file) : file_(file) {}

    // Adds an entry. Error 40 "Creates Duplicate Key" when the key is already present. An
    // entry over kMaxEntryLength or a key over kMaxKeyLength is a fatal fault.
    Status insert(ByteView key, ByteView data);
    // Adds the entry or replaces the data of the entry with this key.
    void put(ByteView key, ByteView data);
    // Removes the entry with this key; error 30 "Entry Not Found" when there is none.
    Status erase(ByteView key);
    // Exact search; copies the data when found and `data` is given.
    bool find(ByteView key, Bytes* data = nullptr);

    // In an index page: the last entry whose key is <= `key` (the first when none is).
    static std::size_t childIndexFor(const CachedPage& page, ByteView key);
    static std::size_t childIndexFor(const CachedPage& page, const SearchKey& key);

    using Step = TreeStep;
    // Descends to the leaf whose range holds `key`, recording the index pages passed.
    CachedPage& descend(ByteView key, std::vector<Step>& path);
    CachedPage& descend(const SearchKey& key, std::vector<Step>& path);
    // Moves `path`/`leaf` to the next (previous) leaf; false at the end of the tree.
    bool nextLeaf(std::vector<Step>& path, CachedPage*& leaf);
    bool previousLeaf(std::vector<Step>& path, CachedPage*& leaf);

  private:
    CachedPage& child(CachedPage& parent, std::size_t index);
    CachedPage& descendEdge(CachedPage* from, std::vector<Step>& path, bool last);
    void refreshSeparators(std::vector<Step>& path, CachedPage* changed);
    void settlePath(std::vector<Step>& path);
    void settle(CachedPage& parent, std::size_t index);
    void settleRoot();
    void split(CachedPage& parent, std::size_t index);
    static bool needsSplit(const CachedPage& page);

    DataFile& file_;
};

// A position in the tree for ordered reading. The key and data views stay valid until the
// tree changes or the cursor moves; a cursor whose tree changed re-seeks from its last key.
class TreeCursor {
  public:
    explicit TreeCursor(DataFile& file) : file_(file), tree_(file) {}

    bool seekFirst();
    bool seekLast();
    bool seekCeiling(ByteView key);      // first entry >= key
    bool seekAfter(ByteView key);        // first entry > key
    bool seekStrictFloor(ByteView key);  // last entry < key
    bool next();
    bool previous();

    bool valid() const { return valid_; }
    ByteView key() const { return leaf_->content.entries[index_].key(); }
    ByteView data() const { return leaf_->content.entries[index_].data(); }
    ByteView entry() const { return leaf_->content.entries[index_].bytes(); }

  private:
    bool land(bool found);
    bool stale() const { return file_.generation() != generation_; }

    DataFile& file_;
    Tree tree_;
    std::vector<Tree::Step> path_;
    CachedPage* leaf_ = nullptr;
    std::size_t index_ = 0;
    bool valid_ = false;
    std::uint64_t generation_ = 0;
    Bytes lastKey_;
};

// Searches confined to one kind of one table: the five leading bytes (table number and kind
// byte) of a result must equal `scope`, otherwise the search has left that key or table.
using Scope = std::array<std::uint8_t, 5>;
bool inScope(ByteView key, const Scope& scope);
bool firstInScope(TreeCursor& cursor, const Scope& scope);
bool lastInScope(TreeCursor& cursor, const Scope& scope);
bool ceilingInScope(TreeCursor& cursor, const Scope& scope, ByteView key);
bool afterInScope(TreeCursor& cursor, const Scope& scope, ByteView key);
bool strictFloorInScope(TreeCursor& cursor, const Scope& scope, ByteView key);
bool exactInScope(TreeCursor& cursor, const Scope& scope, ByteView key);

}  // namespace quillery::storage
