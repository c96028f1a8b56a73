#pragma once

// One ADIF parser on the input bytes, as a run reads a log: every field through the rules of a
// row, calls placed through a small country file. Any failure must be a DbError; a crash, a
// hang, a leak or a sanitizer report is a fault.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzFile.h"
#include "logdb/AdifLog.h"
#include "logdb/DbError.h"

namespace corvale::fuzz {

inline const std::string& CountryFilePath() {
    static const FuzzFile file = [] {
        static constexpr std::string_view kCountries =
            "K,United States,291,NA,05,08,37.53,91.67,5.0,AA K N W =W1AW/LH;\n"
            "*GM/s,Shetland Islands,279,EU,14,27,60.50,1.50,0.0,=GB2ELH(14)[27];\n"
            "KH6,Hawaii,110,OC,31,61,21.12,157.48,10.0,AH6 KH6 WH6<21.1/157.5>;\n";
        FuzzFile countries("fuzz-cty.csv");
        countries.Write(reinterpret_cast<const std::uint8_t*>(kCountries.data()),
                        kCountries.size());
        return countries;
    }();
    return file.Path();
}

template <void (*Parse)(int fd, std::uint64_t size, logdb_detail::AdifLog& log)>
int FuzzAdif(const std::uint8_t* data, std::size_t size) {
    static const FuzzFile file("fuzz-log.adif");
    file.Write(data, size);
    LogReadOptions options;
    options.countryFile = CountryFilePath();
    logdb_detail::StartsLikeAdi({reinterpret_cast<const char*>(data), size});
    try {
        if (lseek(file.Fd(), 0, SEEK_SET) != 0)
            std::abort();
        logdb_detail::AdifLog log(file.Path(), QsoColumnSet::All(), options, {});
        Parse(file.Fd(), size, log);
        log.Finish(nullptr);
    } catch (const DbError&) {
    }
    return 0;
}

}  // namespace corvale::fuzz
