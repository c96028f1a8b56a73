#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace corvale {

// Which confirmations of an ADIF log count. A DXBase log holds its own codes and ignores this.
struct ConfirmationSources {
    bool card = true;
    bool lotw = true;
    bool eqsl = true;
};

// Where the entity of a call is found when an ADIF record has no usable DXCC field: the country
// file of Debian's hamradio-files.
inline constexpr char kDefaultCountryFile[] = "/usr/share/hamradio-files/cty.csv";

struct LogReadOptions {
    ConfirmationSources confirmations;
    std::string countryFile = kDefaultCountryFile;
};

// What reading an ADIF log came to, for the one line that tells the user. Record numbers count
// from 1 in file order.
struct AdifReadReport {
    std::size_t records = 0;
    std::size_t rows = 0;
    std::size_t entitiesFromCalls = 0;
    std::vector<std::size_t> withoutDate;
    std::vector<std::size_t> withoutEntity;
    // Why no call could be placed (the country file missing or unreadable); empty otherwise.
    std::string countryFileProblem;
};

}  // namespace corvale
