// Opens and reads a log made of the input bytes, through the same path as a run: the checks
// before libmdb, the catalog, [VERSION] and every column of [QSO-TAB]. Any failure must be a
// DbError; a crash, a hang, a leak or a sanitizer report is a fault.
//
// The bytes are handed over as a file (a memfd named through /proc/self/fd), because the reader
// takes a path and checks the file itself. The input is padded with zeros to a whole number of
// 4 KiB pages: a size that is not one is refused before libmdb sees the file, so without the
// padding most mutations would stop at that check. The seeds include logs edited in Access's way
// (moved rows behind pointers, chains of them, deleted slots), so that mutations reach the walk
// that finds a table's rows.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzFile.h"
#include "logdb/CSRC2006QSO.h"
#include "logdb/DatabaseVersion.h"
#include "logdb/DbError.h"
#include "logdb/QsoTable.h"

namespace {

constexpr std::size_t kPage = 4096;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const corvale::fuzz::FuzzFile file("fuzz-log.mdb");
    file.Write(data, size, kPage);
    const std::string& path = file.Path();
    try {
        corvale::IsSupportedDatabaseVersion(corvale::ReadDatabaseVersion(path));
    } catch (const corvale::DbError&) {
    }
    try {
        auto table = corvale::QsoTable::Read(path, corvale::QsoColumnSet::All());
        corvale::CSRC2006QSO set;
        set.m_strSort = "[QSO-SAT], [QSO-BAND], [QSO-GRID]";
        set.Open(table);
        for (; !set.IsEOF(); set.MoveNext()) {
        }
    } catch (const corvale::DbError&) {
    }
    return 0;
}
