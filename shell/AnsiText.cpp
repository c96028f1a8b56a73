#include "shell/AnsiText.h"

#include <iconv.h>

#include <cerrno>
#include <string>

namespace corvale {

namespace {

constexpr std::uint32_t kReplacementCharacter = 0xFFFD;
constexpr unsigned kUtf8CodePage = 65001;

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// glibc names the Windows code pages "CP<number>".
std::string IconvName(unsigned codePage) {
    return codePage == kUtf8CodePage ? "UTF-8" : "CP" + std::to_string(codePage);
}

class IconvToUtf8 {
  public:
    // A code page that iconv does not know is read as the default one.
    explicit IconvToUtf8(unsigned codePage) : handle_(Open(codePage)) {
        if (!Known())
            handle_ = Open(kDefaultAnsiCodePage);
    }
    ~IconvToUtf8() {
        if (Known())
            iconv_close(handle_);
    }
    IconvToUtf8(const IconvToUtf8&) = delete;
    IconvToUtf8& operator=(const IconvToUtf8&) = delete;

    bool Known() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    std::string Convert(std::string_view in) const {
        std::string out;
        // Each pass converts until a byte the code page does not define (or cut off at the
        // end), which is then replaced as Windows replaces it.
        while (!in.empty()) {
            char buffer[1024];
            char* inBytes = const_cast<char*>(in.data());
            std::size_t inLeft = in.size();
            char* outBytes = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = iconv(handle_, &inBytes, &inLeft, &outBytes, &outLeft);
            const int error = errno;
            out.append(buffer, static_cast<std::size_t>(outBytes - buffer));
            in.remove_prefix(in.size() - inLeft);
            if (result != static_cast<std::size_t>(-1) || error == E2BIG)
                continue;
            const auto byte = static_cast<unsigned char>(in.front());
            AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? byte : kReplacementCharacter);
            in.remove_prefix(1);
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

  private:
    static iconv_t Open(unsigned codePage) {
        return iconv_open("UTF-8", IconvName(codePage).c_str());
    }

    iconv_t handle_;
};

}  // namespace

std::string AnsiToUtf8(std::string_view ansi, unsigned codePage) {
    return IconvToUtf8(codePage).Convert(ansi);
}

void AppendUtf8(std::string& out, std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

std::string_view TruncateUtf8(std::string_view utf8, std::size_t maxCharacters) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (IsContinuationByte(utf8[i]))
            continue;
        if (characters == maxCharacters)
            return utf8.substr(0, i);
        ++characters;
    }
    return utf8;
}

std::size_t CountUtf8Characters(std::string_view utf8) {
    std::size_t characters = 0;
    for (char c : utf8)
        characters += IsContinuationByte(c) ? 0 : 1;
    return characters;
}

}  // namespace corvale
