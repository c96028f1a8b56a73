#include "awards/Windows1252.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstddef>
#include <stdexcept>

namespace corvale {

namespace {

bool IsAscii(std::string_view text) {
    for (unsigned char c : text) {
        if (c >= 0x80)
            return false;
    }
    return true;
}

// Length of the character at the start of `text`: its lead byte and the continuation bytes
// that follow it; 1 for a byte that starts no UTF-8 sequence.
std::size_t CharacterLength(const char* text, std::size_t available) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t expected = 1;
    if (lead >= 0xC0 && lead < 0xF8)
        expected = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    std::size_t length = 1;
    while (length < expected && length < available &&
           (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        ++length;
    }
    return length;
}

class Converter {
  public:
    Converter() : cd_(iconv_open("WINDOWS-1252", "UTF-8")) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error("the Windows-1252 character conversion is not available");
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string Convert(std::string_view utf8) {
        std::string out;
        out.reserve(utf8.size());
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(utf8.data());
        std::size_t inLeft = utf8.size();
        std::array<char, 256> buffer{};
        while (inLeft > 0) {
            char* outPtr = buffer.data();
            std::size_t outLeft = buffer.size();
            std::size_t done = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer.data(), buffer.size() - outLeft);
            if (done != static_cast<std::size_t>(-1))
                continue;
            if (errno == E2BIG)
                continue;
            // Unconvertible or malformed: one "?" for the character, then go on after it.
            out.push_back('?');
            const std::size_t skip = CharacterLength(in, inLeft);
            in += skip;
            inLeft -= skip;
        }
        return out;
    }

  private:
    iconv_t cd_;
};

}  // namespace

std::string Utf8ToWindows1252(std::string_view utf8) {
    if (IsAscii(utf8))
        return std::string(utf8);
    thread_local Converter converter;
    return converter.Convert(utf8);
}

}  // namespace corvale
