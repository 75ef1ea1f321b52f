// The S-record reader on arbitrary text, held to the promises of TextReaderFuzz.h.
#include "TextReaderFuzz.h"
#include "files/SRecordReader.h"
#include "files/SRecordWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzTextReader<SRecordReader>(data, size, readSRecords, sRecordText);
}
