#include "logdb/CountryFile.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>
#include <vector>

#include "logdb/AdifText.h"

namespace corvale::logdb_detail {

namespace {

// The prefix list is the tenth field; earlier fields hold no comma.
constexpr std::size_t kPrefixField = 9;

// Removes the decorations (zones, continent, position, time offset) from an entry.
std::string Undecorated(std::string_view entry) {
    std::string plain;
    char closing = 0;
    for (char c : entry) {
        if (closing != 0) {
            if (c == closing)
                closing = 0;
            continue;
        }
        switch (c) {
            case '(':
                closing = ')';
                break;
            case '[':
                closing = ']';
                break;
            case '<':
                closing = '>';
                break;
            case '{':
                closing = '}';
                break;
            case '~':
                closing = '~';
                break;
            default:
                plain.push_back(c);
        }
    }
    return plain;
}

bool EndsWithPart(std::string_view call, std::string_view part) {
    return call.size() > part.size() && call.ends_with(part) &&
           call[call.size() - part.size() - 1] == '/';
}

}  // namespace

CountryFile::CountryFile(const std::string& path, std::string& problem) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        problem = "the country file \"" + path +
                  "\" cannot be read (install Debian's hamradio-files), so no call was placed";
        return;
    }
    std::ostringstream text;
    text << in.rdbuf();
    AddText(text.str());
    if (IsEmpty())
        problem = "the country file \"" + path + "\" holds no prefix, so no call was placed";
}

CountryFile CountryFile::FromText(std::string_view text) {
    CountryFile file;
    file.AddText(text);
    return file;
}

void CountryFile::AddText(std::string_view text) {
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));

        std::vector<std::string_view> fields;
        for (std::size_t f = 0; f < kPrefixField; ++f) {
            const std::size_t comma = line.find(',');
            if (comma == std::string_view::npos)
                break;
            fields.push_back(line.substr(0, comma));
            line.remove_prefix(comma + 1);
        }
        int code = 0;
        const std::string_view codeText = fields.size() == kPrefixField ? fields[2] : "";
        const auto parsed =
            std::from_chars(codeText.data(), codeText.data() + codeText.size(), code);
        if (codeText.empty() || parsed.ec != std::errc() ||
            parsed.ptr != codeText.data() + codeText.size() || code <= 0)
            continue;

        line = line.substr(0, line.find(';'));
        while (!line.empty()) {
            const std::size_t blank = std::min(line.find_first_of(" \t\r"), line.size());
            std::string entry = Undecorated(line.substr(0, blank));
            line.remove_prefix(std::min(blank + 1, line.size()));
            AsciiUpper(entry);
            if (entry.size() > 1 && entry.front() == '=') {
                exact_.emplace(entry.substr(1), code);
            } else if (!entry.empty() && entry.front() != '=') {
                longestPrefix_ = std::max(longestPrefix_, entry.size());
                prefixes_.emplace(std::move(entry), code);
            }
        }
    }
}

int CountryFile::EntityCode(std::string_view raw) const {
    std::string whole(TrimBlanks(raw));
    AsciiUpper(whole);
    if (const auto exact = exact_.find(whole); exact != exact_.end())
        return exact->second;

    std::string_view call = whole;
    static constexpr std::string_view kDropped[] = {"P", "M", "QRP", "A", "B", "LH"};
    bool dropped = true;
    while (dropped) {
        if (EndsWithPart(call, "MM") || EndsWithPart(call, "AM"))
            return 0;
        dropped = false;
        for (std::string_view suffix : kDropped) {
            if (EndsWithPart(call, suffix)) {
                call.remove_suffix(suffix.size() + 1);
                dropped = true;
            }
        }
        if (call.size() >= 2 && call[call.size() - 2] == '/' && call.back() >= '0' &&
            call.back() <= '9') {
            call.remove_suffix(2);
            dropped = true;
        }
    }

    std::string_view looked = call;
    if (const std::size_t slash = call.find('/'); slash != std::string_view::npos) {
        const std::string_view before = call.substr(0, slash);
        const std::string_view after = call.substr(slash + 1);
        looked = after.size() < before.size() ? after : before;
    }
    for (std::size_t length = std::min(looked.size(), longestPrefix_); length > 0; --length) {
        if (const auto found = prefixes_.find(looked.substr(0, length)); found != prefixes_.end())
            return found->second;
    }
    return 0;
}

}  // namespace corvale::logdb_detail
