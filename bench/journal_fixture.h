// A journal of many casts for the benchmarks: automatic casts ten minutes
// apart, each with a question of a few words and now and then a note.
#pragma once

#include <stdlib.h>

#include <array>
#include <filesystem>
#include <random>
#include <string>

#include "divination/changes.h"
#include "journal/journal.h"

namespace bench_support {

inline std::string Name(int n) {
    static const std::array<const char*, 8> kWords = {"Творчество",     "Исполнение", "Трудность",
                                                      "Недоразвитость", "Ожидание",   "Тяжба",
                                                      "Войско",         "Приближение"};
    return std::string(kWords[n % 8]) + " " + std::to_string(n);
}

// An automatic cast at `second` past a start, with a question of a few
// words from a small vocabulary and now and then a note.
inline journal::NewCast SomeCast(std::mt19937& random, int second) {
    static const std::array<const char*, 12> kWords = {"дом",    "работа",  "дорога", "здоровье",
                                                       "деньги", "ёлка",    "учёба",  "семья",
                                                       "друг",   "поездка", "путь",   "решение"};
    journal::NewCast cast;
    cast.castAt = journal::LocalTimestamp(1767225600 + second * 600);
    cast.method = divination::Method::Coins;
    cast.coins.emplace();
    for (int line = 0; line < 6; ++line) {
        for (int coin = 0; coin < 3; ++coin)
            (*cast.coins)[3 * line + coin] = static_cast<int>(random() % 1000);
        cast.values[line] = divination::ValueFromCoins(
            (*cast.coins)[3 * line], (*cast.coins)[3 * line + 1], (*cast.coins)[3 * line + 2]);
    }
    for (int words = 2 + random() % 4; words > 0; --words) {
        if (!cast.question.empty())
            cast.question += ' ';
        cast.question += kWords[random() % 12];
    }
    if (random() % 5 == 0)
        cast.note = "Сбылось через " + std::to_string(random() % 30) + " дней";
    return cast;
}

// A folder with Journal.db of `casts` casts; removed with the fixture.
class JournalFixture {
public:
    explicit JournalFixture(int casts) {
        std::string pattern = (std::filesystem::temp_directory_path() / "journal-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data());
        // Recorded in memory, where a cast needs no sync, then copied out.
        journal::Journal memory = journal::Journal::OpenInMemory(Name);
        std::mt19937 random(1);
        for (int n = 0; n < casts; ++n)
            memory.Record(SomeCast(random, n));
        memory.BackupTo(path());
    }
    ~JournalFixture() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::filesystem::path path() const { return folder_ / journal::kJournalFile; }

private:
    std::filesystem::path folder_;
};

}  // namespace bench_support
