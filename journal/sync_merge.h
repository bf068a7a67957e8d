// The merge of other machines' journals into this one, file by file inside
// the caller's transaction; only the library's own files see it.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "journal/internal.h"

namespace journal::internal {

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

    struct Peer;  // what a file holds, checked

private:
    struct Local {
        std::int64_t id;
        Stamps stamps;
    };
    void TakeTombstones(const Peer& peer, std::int64_t& brought);
    void TakeRows(const Peer& peer, std::int64_t& brought);
    void TakeLinks(const Peer& peer);

    Journal::State& state_;
    std::unordered_map<std::string, Local> rows_;
    std::unordered_map<std::string, Stamp> tombstones_;
    std::unordered_map<std::string, std::pair<Stamp, bool>> links_;  // "later earlier"
    bool linksChanged_ = false;
    std::int64_t seen_ = 0;
    std::unique_ptr<CastWriter> writer_;
};

}  // namespace journal::internal
