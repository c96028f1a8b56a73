// The .adi parser on the input bytes (see fuzz_adif.h).

#include "fuzz_adif.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return corvale::fuzz::FuzzAdif<corvale::logdb_detail::ParseAdi>(data, size);
}
