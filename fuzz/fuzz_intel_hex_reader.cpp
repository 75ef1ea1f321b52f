// The Intel HEX reader on arbitrary text, held to the promises of TextReaderFuzz.h.
#include "TextReaderFuzz.h"
#include "files/IntelHexReader.h"
#include "files/IntelHexWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzTextReader<IntelHexReader>(data, size, readIntelHex, intelHexText);
}
