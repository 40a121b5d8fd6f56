#pragma once
// A picture of the scheme as a PNG file, written with libpng for speed: rows go out unfiltered
// and zlib packs them with its run-length strategy at its fastest level. A scheme is mostly
// background in long runs of one colour, which that packs as small as the toolkit's default
// writer does (a few kilobytes for 1280 x 800) in a quarter of the time: the toolkit tries
// every filter on every row and compresses each trial.
#include <QImage>
#include <QString>

class QIODevice;

namespace PngWriter {

// Writes the image (any format; 24-bit colour, its alpha dropped) to the device. On failure
// returns false with the reason in *error: the device's own when a write to it failed.
bool Write(const QImage &image, QIODevice *device, QString *error);

} // namespace PngWriter
