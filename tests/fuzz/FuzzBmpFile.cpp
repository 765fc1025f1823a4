// A BMP picture of any bytes, opened for tracing as File > Open opens it.

#include "FuzzInputFile.h"
#include "FuzzPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::OpenPictureForTracing(fuzz::InputFile(data, size, ".bmp"), false);
    return 0;
}
