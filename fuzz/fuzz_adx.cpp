// The .adx parser on the input bytes (see fuzz_adif.h).

#include "fuzz_adif.h"

namespace {

void ParseAdx(int fd, std::uint64_t, corvale::logdb_detail::AdifLog& log) {
    corvale::logdb_detail::ParseAdx(fd, log);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return corvale::fuzz::FuzzAdif<ParseAdx>(data, size);
}
