// Finding or adding a table in a data file, checking its stored definition, and the entries of
// its records, metadata and memos.
#include "storage/table.h"

#include "runtime/errors.h"
#include "storage/table_definition_check.h"

namespace quillery::storage {
namespace {

Bytes numberBytes(std::uint32_t n) {
    Bytes b(4);
    storeBe32(b.data(), n);
    return b;
}

Status readStoredDefinition(DataFile& data, TableNumber table, Bytes& stream) {
    Tree tree(data);
    std::vector<Bytes> blocks;
    for (std::uint32_t block = 0; block <= 0xFFFF; ++block) {
        Bytes bytes;
        if (!tree.find(definitionBlockKey(table, static_cast<std::uint16_t>(block)), &bytes)) break;
        blocks.push_back(std::move(bytes));
    }
    if (blocks.empty()) return Status::error(ErrorCode::kInvalidDataFile, "no definition");
    return joinDefinitionBlocks(blocks, stream);
}

}  // namespace

Scope recordScope(TableNumber table) {
    return kindPrefix(table, EntryKind::kRecord);
}
Scope keyScope(TableNumber table, std::uint8_t key) {
    return kindPrefix(table, key);
}

RecordNumber recordOfKeyEntry(ByteView data) {
    return data.size() == 4 ? loadBe32(data.data()) : 0;
}

RecordNumber recordOfRecordKey(ByteView key) {
    return key.size() >= 9 ? loadBe32(key.data() + 5) : 0;
}

Status Table::open(PageFile& file, const std::string& name, const TableDefinition& definition,
                   const TableDeclaration& declaration, bool create, std::unique_ptr<Table>& out) {
    (void)declaration;
    DataFile& data = file.data();
    Tree tree(data);
    Bytes found;
    TableNumber number = 0;
    if (tree.find(tableNameKey(name), &found)) {
        if (found.size() != 4) return Status::error(ErrorCode::kInvalidDataFile, "table name");
        number = loadBe32(found.data());
    } else {
        if (!create) return Status::error(ErrorCode::kFileNotFound, "no table " + name);
        number = data.issueNumber();
        QUILLERY_RETURN_IF_ERROR(tree.insert(tableNameKey(name), numberBytes(number)));
        const std::vector<Bytes> blocks = splitDefinition(encodeDefinition(definition));
        for (std::size_t i = 0; i < blocks.size(); ++i)
            tree.put(definitionBlockKey(number, static_cast<std::uint16_t>(i)), blocks[i]);
        tree.put(metadataKey(number, EntryKind::kRecord), encodeMetadata({}));
        for (std::size_t k = 0; k < definition.keys.size(); ++k)
            tree.put(metadataKey(number, static_cast<std::uint8_t>(k)), encodeMetadata({}));
    }

    Bytes stream;
    QUILLERY_RETURN_IF_ERROR(readStoredDefinition(data, number, stream));
    TableDefinition stored;
    QUILLERY_RETURN_IF_ERROR(parseDefinition(stream, stored));
    DefinitionMatch match = compareDefinitions(stored, definition);
    QUILLERY_RETURN_IF_ERROR(std::move(match.status));

    std::unique_ptr<Table> table(new Table(file, number, definition));
    table->layouts_.resize(definition.keys.size());
    table->runtimeKeys_.resize(definition.keys.size());
    for (std::size_t k = 0; k < definition.keys.size(); ++k) {
        if (!keyLayoutOf(definition, k, table->layouts_[k]))
            return Status::error(ErrorCode::kInvalidRecordDeclaration, "key layout");
        if (declaration.oem) useOemCollation(table->layouts_[k]);
        if (table->runtimeKey(k)) QUILLERY_RETURN_IF_ERROR(table->resetRuntimeKey(k));
    }
    out = std::move(table);
    return Status::success();
}

bool Table::runtimeKey(std::size_t key) const {
    return (layouts_[key].flags & KeyFlag::kRuntimeIndex) != 0;
}

DataFile& Table::keyData(std::size_t key) {
    return keyPageFile(key).data();
}

PageFile& Table::keyPageFile(std::size_t key) {
    if (runtimeKeys_[key]) return *runtimeKeys_[key];
    return file_;
}

Status Table::resetRuntimeKey(std::size_t key) {
    runtimeKeys_[key].reset();
    QUILLERY_RETURN_IF_ERROR(PageFile::openTemporary(runtimeKeys_[key]));
    DataFile& data = runtimeKeys_[key]->data();
    Tree(data).put(metadataKey(number_, static_cast<std::uint8_t>(key)), encodeMetadata({}));
    return data.commit();
}

bool Table::readRecord(RecordNumber record, Bytes& image) {
    return Tree(data()).find(recordKey(number_, record), &image);
}

bool Table::recordExists(RecordNumber record) {
    return Tree(data()).find(recordKey(number_, record));
}

void Table::writeRecord(RecordNumber record, ByteView image) {
    Tree(data()).put(recordKey(number_, record), image);
}

Status Table::eraseRecord(RecordNumber record) {
    return Tree(data()).erase(recordKey(number_, record));
}

const Bytes& Table::metadataKeyOf(std::uint8_t subject) {
    Bytes& key = metadataKeys_[subject];
    if (key.empty()) key = metadataKey(number_, subject);
    return key;
}

bool Table::metadata(std::uint8_t subject, Metadata& out) {
    thread_local Bytes bytes;
    DataFile& d = subject == EntryKind::kRecord ? data() : keyData(subject);
    if (!d.readKept(metadataKeyOf(subject), bytes)) return false;
    return decodeMetadata(bytes, out);
}

void Table::setMetadata(std::uint8_t subject, const Metadata& m) {
    DataFile& d = subject == EntryKind::kRecord ? data() : keyData(subject);
    d.writeKept(metadataKeyOf(subject), encodeMetadata(m));
}

Status Table::writeMemos(RecordNumber record, const std::vector<Bytes>& values) {
    QUILLERY_RETURN_IF_ERROR(eraseMemos(record));
    Tree tree(data());
    for (std::size_t m = 0; m < definition_.memos.size() && m < values.size(); ++m) {
        const bool blob = (definition_.memos[m].flags & MemoFlag::kBlob) != 0;
        const std::vector<Bytes> segments = splitMemo(values[m], blob);
        for (std::size_t s = 0; s < segments.size(); ++s)
            tree.put(memoSegmentKey(number_, record, static_cast<std::uint8_t>(m),
                                    static_cast<std::uint16_t>(s)),
                     segments[s]);
    }
    return Status::success();
}

Status Table::eraseMemos(RecordNumber record) {
    if (definition_.memos.empty()) return Status::success();
    Tree tree(data());
    TreeCursor cursor(data());
    const Scope scope = kindPrefix(number_, EntryKind::kMemoSegment);
    Bytes start = memoSegmentKey(number_, record, 0, 0);
    std::vector<Bytes> doomed;
    for (bool more = ceilingInScope(cursor, scope, start); more; more = cursor.next()) {
        const ByteView key = cursor.key();
        if (!inScope(key, scope) || key.size() < 9 || loadBe32(key.data() + 5) != record) break;
        doomed.emplace_back(key.begin(), key.end());
    }
    for (const Bytes& key : doomed)
        QUILLERY_RETURN_IF_ERROR(tree.erase(key));
    return Status::success();
}

void Table::readMemos(RecordNumber record, std::vector<Bytes>& values) {
    const std::size_t memos = definition_.memos.size();
    values.assign(memos, Bytes{});
    if (memos == 0) return;
    // One walk over the record's segments, which sort by memo and then segment number, rather
    // than a search per segment. A memo ends at its first missing segment.
    std::vector<std::vector<Bytes>> segments(memos);
    TreeCursor cursor(data());
    const Scope scope = kindPrefix(number_, EntryKind::kMemoSegment);
    const Bytes start = memoSegmentKey(number_, record, 0, 0);
    for (bool more = ceilingInScope(cursor, scope, start); more; more = cursor.next()) {
        const ByteView key = cursor.key();
        if (!inScope(key, scope) || key.size() < 9 || loadBe32(key.data() + 5) != record) break;
        if (key.size() != start.size() || key[9] >= memos) continue;
        std::vector<Bytes>& found = segments[key[9]];
        const std::size_t segment = static_cast<std::size_t>(key[10]) << 8 | key[11];
        if (segment != found.size()) continue;
        const ByteView d = cursor.data();
        found.emplace_back(d.begin(), d.end());
    }
    for (std::size_t m = 0; m < memos; ++m) {
        const bool blob = (definition_.memos[m].flags & MemoFlag::kBlob) != 0;
        if (!joinMemo(segments[m], blob, values[m])) values[m].clear();
    }
}

}  // namespace quillery::storage
