#pragma once

#include <memory>
#include <string>

#include "logdb/LogReadOptions.h"
#include "logdb/QsoTable.h"

namespace corvale {

// The kinds of log that Corvale reads, told by the file's content, never by its name.
enum class LogFormat {
    Access,  // a DXBase log: an Access (Jet or ACE) database
    Adi,     // ADIF as tagged text
    Adx,     // ADIF as XML
};

// Looks at the first bytes of the file: an Access signature, XML (the first text "<?xml" or
// "<ADX", in any case), or an ADIF tag. A file that cannot be opened or examined is taken for
// Access, whose reader then says what is wrong. Throws DbError for an empty file and for one
// that is neither.
LogFormat DetectLogFormat(const std::string& path);

struct LogRead {
    std::shared_ptr<const QsoTable> table;
    LogFormat format = LogFormat::Access;
    AdifReadReport adif;  // an ADIF log only
};

// Opens a log of any kind and reads its QSO rows, decoding only `columns`. The one place that
// chooses the reader. Throws DbError.
LogRead ReadLog(const std::string& path, QsoColumnSet columns, const LogReadOptions& options,
                const QsoTable::ReadProgress& progress = {});
// The same for a log whose format the caller has told already.
LogRead ReadLog(const std::string& path, LogFormat format, QsoColumnSet columns,
                const LogReadOptions& options, const QsoTable::ReadProgress& progress = {});

}  // namespace corvale
