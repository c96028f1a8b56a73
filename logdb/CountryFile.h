#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace corvale::logdb_detail {

// The entity of a call sign by a country file in the format of cty.csv: primary prefix, name,
// ADIF DXCC code, continent, zones, position, time offset, then the prefix list ("=CALL" exact
// entries and prefixes, decorated with (), [], <>, {} and ~~ that are stripped, ending in ";").
// Every line counts, "*" lines (areas of the WAE list) included.
class CountryFile {
  public:
    // Reads the file; `problem` receives a sentence when it cannot be read (nothing is placed).
    CountryFile(const std::string& path, std::string& problem);
    // From the text of such a file (tests).
    static CountryFile FromText(std::string_view text);

    bool IsEmpty() const { return exact_.empty() && prefixes_.empty(); }

    // The ADIF DXCC code of the call's entity, or 0 when it has none.
    int EntityCode(std::string_view call) const;

  private:
    CountryFile() = default;
    void AddText(std::string_view text);

    std::map<std::string, int, std::less<>> exact_;
    std::map<std::string, int, std::less<>> prefixes_;
    std::size_t longestPrefix_ = 0;
};

}  // namespace corvale::logdb_detail
