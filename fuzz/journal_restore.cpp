// A backup to merge into the journal may come from anywhere: any bytes must
// either be refused with the program's error naming the file, leaving the
// journal empty as it was, or be merged so that every cast added is one the
// journal would record, and a second merge of the same bytes adds nothing.
#include <cstdint>
#include <string>

#include "fuzz/check.h"
#include "journal/journal.h"

namespace {

std::string Name(int n) {
    return "Знак " + std::to_string(n);
}

// One journal in memory for the whole run, emptied before each input:
// making its schema anew would cost more than most inputs.
journal::Journal& EmptyJournal() {
    static journal::Journal journal = journal::Journal::OpenInMemory(Name);
    journal.Clear();
    return journal;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    journal::Journal& journal = EmptyJournal();
    std::int64_t added = 0;
    try {
        added = journal.RestoreFromBytes(bytes, "backup.db");
    } catch (const journal::Error& error) {
        FUZZ_CHECK(std::string(error.what()).rfind("Файл \"backup.db\" ", 0) == 0);
        FUZZ_CHECK(journal.Count({}) == 0);
        return 0;
    }
    FUZZ_CHECK(journal.Count({}) == added);
    journal::Position after;
    for (std::int64_t listed = 0; listed < added;) {
        const std::vector<journal::Cast> page = journal.Page({}, after, 100);
        FUZZ_CHECK(!page.empty());
        for (const journal::Cast& cast : page) {
            FUZZ_CHECK(journal::CastProblem(cast).empty());
            FUZZ_CHECK(journal::ParseTimestamp(cast.castAt) == cast.moment);
            FUZZ_CHECK(after.moment > cast.moment ||
                       (after.moment == cast.moment && after.id > cast.id));
            after = journal::After(cast);
        }
        listed += static_cast<std::int64_t>(page.size());
    }
    FUZZ_CHECK(journal.RestoreFromBytes(bytes, "backup.db") == 0);
    return 0;
}
