// The Wine registry reader over any bytes, with a key path and value name taken from the input.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/RegistryText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string keyPath = input.ConsumeRandomLengthString(128);
    const std::string valueName = input.ConsumeRandomLengthString(64);
    const std::string text = input.ConsumeRemainingBytesAsString();

    const auto value = corvale::ReadRegistryString(text, keyPath, valueName);
    // The value ends at its first zero character.
    if (value && value->find('\0') != std::string::npos)
        std::abort();
    return 0;
}
