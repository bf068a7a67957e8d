// The merge of other machines' journals into this one, file by file inside
// the caller's transaction; only the library's own files see it.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "journal/internal.h"

namespace journal::internal {

// A uuid or a machine id, 32 hex digits, as two numbers ordered as the
// text is.
struct HexId {
    std::uint64_t high = 0, low = 0;
    auto operator<=>(const HexId&) const = default;
};
// False unless `text` is 32 lowercase hex digits: a uuid or machine id.
bool ParseHexId(std::string_view text, HexId& id);
struct HexIdHash {
    std::size_t operator()(const HexId& id) const {
        return static_cast<std::size_t>(id.high ^ (id.low * 0x9E3779B97F4A7C15ULL));
    }
};

// A Stamp as the merge compares it, in the same order: one made before
// schema 3 (no machine) sorts before every machine's at the same time.
struct Mark {
    std::int64_t at = 0;
    bool stamped = false;
    HexId by;
    auto operator<=>(const Mark&) const = default;
};
using Marks = std::array<Mark, 4>;

// What the journal holds of one entry, as the merge compares it.
struct Local {
    std::int64_t id = 0;
    Marks marks;
    // The value of each field made before schema 3, which a tie compares.
    std::array<std::string, 4> unstamped;
    bool gone = false;  // deleted by this merge
};

// The journal's entries by uuid: open addressing over one array, since a
// merge looks up every row of every file.
class EntryIndex {
public:
    void Reserve(std::size_t entries);
    Local* Find(const HexId& uuid);  // null for none, or one deleted
    Local& Add(const HexId& uuid);   // a fresh entry, in place of any deleted

private:
    struct Slot {
        HexId uuid;
        std::uint32_t entry = 0;  // 1 + its index in entries_; 0: empty
    };
    Slot& SlotOf(const HexId& uuid);
    std::vector<Slot> slots_;
    std::vector<Local> entries_;
};

class Merger {
public:
    // Reads what the journal holds of uuids, stamps and tombstones once.
    explicit Merger(Journal::State& state);
    ~Merger();
    // One file's bytes: checked whole and row by row before any of it is
    // taken, then merged; returns the entries it added, changed or deleted.
    // Throws Refused, having changed nothing, for a file not to be merged.
    std::int64_t Merge(std::string& bytes);
    // The links the merged entries complete, and the clock past all it saw.
    void Finish();

    struct Peer;  // what a file brings, checked

private:
    void ReadRows(SQLite::Database& file, Peer& peer, Mark& latest);
    void TakeTombstones(const Peer& peer, std::int64_t& brought);
    void TakeRows(const Peer& peer, std::int64_t& brought);
    void TakeLinks(const Peer& peer);

    Journal::State& state_;
    EntryIndex rows_;
    std::unordered_map<HexId, Mark, HexIdHash> tombstones_;
    std::map<std::pair<HexId, HexId>, std::pair<Mark, bool>> links_;  // later, earlier
    bool linksChanged_ = false;
    std::int64_t seen_ = 0;
    std::unique_ptr<CastWriter> writer_;
};

}  // namespace journal::internal
