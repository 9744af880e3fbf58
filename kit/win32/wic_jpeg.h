// A whole colour JPEG decoded by the imaging component straight into a 32-bit bitmap.
#pragma once
#include <objidl.h>
#include <ocidl.h>

namespace kit::win32 {

// The picture of a colour JPEG, its bitmap a 32-bit DIB section that the picture owns. Null
// when the file is not that plain case (grey, CMYK, a failure) or the component is missing;
// the stream is then left wherever the decoder stopped. COM must be initialised on the
// calling thread (without it the component is not created, and the answer is null).
IPicture* LoadColourJpeg(IStream* stream);

// One row of 24-bit BGR pixels widened to 32-bit BGRX (the top byte 0).
void WidenBgrRow(const unsigned char* in, unsigned char* out, unsigned width);

}  // namespace kit::win32
