// Writes a UTF-8 text from the repository as the Windows-1251 file with
// CR LF line ends that the program reads: encode_text <source> <target>.
// The target is written beside and renamed over, so a failed run leaves
// no half-written file.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "base/error.h"
#include "base/text_file.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: encode_text SOURCE TARGET\n";
        return 2;
    }
    const std::filesystem::path source = argv[1], target = argv[2];
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        std::cerr << "encode_text: cannot read " << source << "\n";
        return 1;
    }
    const std::string utf8{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string encoded;
    try {
        encoded = base::EncodeCp1251(base::UniformLineBreaks(utf8));
    } catch (const base::Error& e) {
        std::cerr << source.string() << ": " << e.what() << "\n";
        return 1;
    }
    std::string withCrLf;
    for (char c : encoded) {
        if (c == '\n')
            withCrLf += '\r';
        withCrLf += c;
    }
    const std::filesystem::path temporary = target.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(withCrLf.data(), static_cast<std::streamsize>(withCrLf.size()));
        if (!out.flush()) {
            std::cerr << "encode_text: cannot write " << temporary << "\n";
            return 1;
        }
    }
    std::filesystem::rename(temporary, target);
    return 0;
}
