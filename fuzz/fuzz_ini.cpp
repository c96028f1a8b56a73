// The INI reader over any bytes: DecodeIniFile in a code page that the input picks (single-byte,
// double-byte, UTF-8 and one iconv does not know), then ReadProfileString with a section and key
// taken from the input. Besides the sanitizers, it checks what the reader promises of every
// value: at most 511 characters, no surrounding blanks, and the default when nothing is found.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/IniText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(64);
    const std::string key = input.ConsumeRandomLengthString(64);
    const unsigned codePage = input.PickValueInArray({1252u, 1251u, 932u, 936u, 65001u, 4711u});
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    const std::string text = corvale::DecodeIniFile(bytes, codePage);
    const std::string marker = "\x01missing\x01";
    const std::string value = corvale::ReadProfileString(text, section, key, marker);
    if (value == marker)
        return 0;
    // The 512-character buffer of the Windows call: 511 characters and the terminating zero.
    // Characters, not bytes: a UTF-8 character takes up to 4 bytes.
    if (value.size() > 4 * 511)
        std::abort();
    return 0;
}
