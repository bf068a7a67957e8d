// Save.Bmp as a user may have edited it: any bytes must parse without a
// fault, and whatever parses must survive save → load → save unchanged, in
// its values and in its bytes.
#include <cstdint>
#include <cstring>
#include <string>

#include "base/error.h"
#include "fuzz/check.h"
#include "settings/settings_file.h"

namespace {

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameValues(const settings::Settings& a, const settings::Settings& b) {
    return SameBits(a.SoundOff, b.SoundOff) && SameBits(a.CastMode, b.CastMode) &&
           SameBits(a.ButtonsFlat, b.ButtonsFlat) && SameBits(a.TableState, b.TableState) &&
           SameBits(a.ReservedValue, b.ReservedValue) && SameBits(a.ViewMode, b.ViewMode) &&
           a.FontSize == b.FontSize && a.TextColor == b.TextColor && a.AreaColor == b.AreaColor &&
           a.FontStyleCode == b.FontStyleCode && a.FontName == b.FontName;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const settings::ParsedSettings read = settings::ParseSettings(bytes);
    for (double real : {read.values.SoundOff, read.values.ButtonsFlat})
        FUZZ_CHECK(!settings::ShortestText(real).empty());
    if (read.invalidNumber)
        return 0;

    // Every name the parser gives came out of Windows-1251, so it goes back.
    std::string saved;
    try {
        saved = settings::FormatSettings(read.values);
    } catch (const base::Error&) {
        FUZZ_CHECK(!"a name read from the file can't be written back");
    }
    const settings::ParsedSettings loaded = settings::ParseSettings(saved);
    FUZZ_CHECK(!loaded.invalidNumber);
    // The reals are written to 15 digits, so they may differ from a
    // hand-written file's; everything else comes back as it was read.
    settings::Settings expected = read.values;
    expected.SoundOff = loaded.values.SoundOff;
    expected.CastMode = loaded.values.CastMode;
    expected.ButtonsFlat = loaded.values.ButtonsFlat;
    expected.TableState = loaded.values.TableState;
    expected.ReservedValue = loaded.values.ReservedValue;
    expected.ViewMode = loaded.values.ViewMode;
    FUZZ_CHECK(SameValues(loaded.values, expected));

    // From the program's own file on, nothing changes any more.
    const std::string savedAgain = settings::FormatSettings(loaded.values);
    FUZZ_CHECK(savedAgain == saved);
    const settings::ParsedSettings loadedAgain = settings::ParseSettings(savedAgain);
    FUZZ_CHECK(!loadedAgain.invalidNumber);
    FUZZ_CHECK(SameValues(loadedAgain.values, loaded.values));
    return 0;
}
