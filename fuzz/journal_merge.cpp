// Another machine's journal file to merge may hold any bytes: each must be
// skipped with the message naming the file, leaving the journal as it was,
// or merged so that every entry is one the journal would record, and a
// second merge of the same bytes brings nothing.
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/check.h"
#include "journal/journal.h"

namespace {

std::string Name(int n) {
    return "Знак " + std::to_string(n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // A new journal for each input that was merged: an emptied one would
    // keep the tombstones of the last, and the run would depend on the
    // order. One refused leaves the journal as it was, so the next input
    // meets the same empty journal.
    static std::optional<journal::Journal> kept;
    if (!kept)
        kept.emplace(journal::Journal::OpenInMemory(Name));
    journal::Journal& journal = *kept;
    struct Renew {
        std::optional<journal::Journal>& kept;
        bool merged = true;
        ~Renew() {
            if (merged)
                kept.reset();
        }
    } renew{kept};
    try {
        journal.MergeBytes(bytes, "peer.taynovid-journal");
    } catch (const journal::Error& error) {
        FUZZ_CHECK(
            std::string(error.what()).rfind("Файл \"peer.taynovid-journal\" пропущен: он ", 0) ==
            0);
        FUZZ_CHECK(journal.Count({}) == 0);
        renew.merged = false;
        return 0;
    }
    // A second merge meets every entry already there.
    const std::int64_t count = journal.Count({});
    journal::Position after;
    for (std::int64_t listed = 0; listed < count;) {
        const std::vector<journal::Cast> page = journal.Page({}, after, 100);
        FUZZ_CHECK(!page.empty());
        for (const journal::Cast& cast : page) {
            FUZZ_CHECK(journal::CastProblem(cast).empty());
            FUZZ_CHECK(journal::ParseTimestamp(cast.castAt) == cast.moment);
            after = journal::After(cast);
        }
        listed += static_cast<std::int64_t>(page.size());
    }
    FUZZ_CHECK(journal.MergeBytes(bytes, "peer.taynovid-journal") == 0);
    FUZZ_CHECK(journal.Count({}) == count);
    return 0;
}
