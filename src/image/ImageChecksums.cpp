#include "image/ImageChecksums.h"

#include "image/CheckSum.h"
#include "image/ImageDigests.h"

ImageChecksums ImageChecksums::of(QByteArrayView bytes)
{
    return {ImageDigests::crc32(bytes), ImageDigests::sha256(bytes), byteSum16(bytes)};
}
