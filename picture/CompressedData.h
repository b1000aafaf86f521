#pragma once
// Pictures stored with the form data as the byte-block property
// "CompressedData": a 4-byte signed little-endian count N, then N bytes of a
// zlib stream whose payload is one stride byte and the picture's own file
// image under the byte-delta filter of that stride (picture/PayloadCodec.h,
// picture/DeltaFilter.h). A bitmap's stride is its whole bytes per pixel from
// the bit count in its info header (1, 4 and 8 bits: 1; 16: 2; 24: 3; 32: 4);
// any other graphic is stored unfiltered (stride 0).
//
// A control keeps the block's stream between reading the form and decoding
// (its "StoredData"): ReadCompressedData makes it, DecompressGraphic decodes
// it; CompressGraphic fills a fresh one, WriteCompressedData writes it out.

#include "framework/core/Classes.h"
#include "framework/graphics/Graphic.h"
#include "picture/PayloadCodec.h"

#include <memory>

// Appends the zlib stream of graphic, saved by its own saving routine, to dest
// at its position. Raises EReadError for a bitmap whose file image is too
// short to hold its headers (an empty bitmap among them) and
// ECompressionError for a file image over kMaxStoredFileImageBytes.
void CompressGraphic(const TGraphic& graphic, TStream& dest);

// Replaces graphic's content with the picture decoded from the zlib stream at
// source's position, loaded by the graphic's own loading routine. Raises
// EDecompressionError for a damaged, cut or oversized stream, EReadError when
// the stream holds nothing, and the loader's error for a file image the
// graphic cannot read; on any error the graphic stays as it was.
void DecompressGraphic(TGraphic& graphic, TStream& source);

// Reads the property's block: the count N, then N bytes into a new stream.
// N <= 0 gives no stream (nothing stored). Raises EReadError when the count
// or the N bytes are not all there.
std::unique_ptr<TMemoryStream> ReadCompressedData(TStream& formData);

// Writes the block for stored: its whole size as the count, then all its bytes.
void WriteCompressedData(TStream& formData, const TMemoryStream& stored);
