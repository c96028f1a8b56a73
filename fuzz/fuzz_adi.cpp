// The .adi parser on the input bytes (see fuzz_adif.h), and the same bytes read in parts on
// threads of their own, as a large log is: the parts must give the rows, counts and failure
// that the reading in one piece gives.

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_adif.h"

namespace {

using namespace corvale;

struct Reading {
    std::vector<std::string> cells;
    std::vector<std::size_t> counts;
    std::string failure;
    bool operator==(const Reading&) const = default;
};

Reading Read(const fuzz::FuzzFile& file, std::uint64_t size,
             const std::vector<std::uint64_t>* splits) {
    LogReadOptions options;
    options.countryFile = fuzz::CountryFilePath();
    logdb_detail::AdifLog log(file.Path(), QsoColumnSet::All(), options, {});
    Reading reading;
    try {
        if (splits != nullptr)
            logdb_detail::ParseAdiInParts(file.Fd(), size, log, *splits);
        else
            logdb_detail::ParseAdi(file.Fd(), size, log);
        AdifReadReport report;
        const auto table = log.Finish(&report);
        for (std::size_t row = 0; row < table->RowCount(); ++row) {
            for (std::size_t c = 0; c < kQsoColumnCount; ++c) {
                const auto column = static_cast<QsoColumn>(c);
                reading.cells.push_back(ColumnInfo(column).isLong
                                            ? std::to_string(table->Long(row, column))
                                            : std::string(table->Text(row, column)));
            }
        }
        reading.counts = {report.records, report.rows, report.entitiesFromCalls};
        reading.counts.insert(reading.counts.end(), report.withoutDate.begin(),
                              report.withoutDate.end());
        reading.counts.push_back(0);
        reading.counts.insert(reading.counts.end(), report.withoutEntity.begin(),
                              report.withoutEntity.end());
    } catch (const DbError& error) {
        reading.failure = error.what();
    }
    return reading;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::FuzzFile file("fuzz-log.adi");
    file.Write(data, size);
    logdb_detail::StartsLikeAdi({reinterpret_cast<const char*>(data), size});
    const Reading whole = Read(file, size, nullptr);
    // Three parts, their starts moved by the first byte so that they fall anywhere.
    const std::uint64_t shift = size > 0 ? data[0] : 0;
    std::vector<std::uint64_t> splits = {size / 4 + shift % 7, size / 2 + shift % 5,
                                         size * 3 / 4 + shift % 11};
    std::sort(splits.begin(), splits.end());
    splits.erase(std::unique(splits.begin(), splits.end()), splits.end());
    if (Read(file, size, &splits) != whole)
        std::abort();
    return 0;
}
