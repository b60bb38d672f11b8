#pragma once
// Skin and tile pictures. JPEG files are decoded by the JPEG library itself,
// so the program does not depend on an image plugin being installed; bitmaps
// and PNG files by the toolkit's readers. Pictures arrive from archives found
// on the disk, so every one is read within limits: a picture larger than any
// screen needs is refused from its header, before anything is allocated.

#include <QImage>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tb {

// The largest picture read: each side at most 8192 pixels (an 8K screen is
// 7680 × 4320), at most 8192 × 4608 pixels in all, files of at most 64 MiB.
inline constexpr int PictureMaxSide = 8192;
inline constexpr std::int64_t PictureMaxPixels = std::int64_t{8192} * 4608;
inline constexpr std::uintmax_t PictureMaxFileBytes = std::uintmax_t{64} << 20;

// The decoded picture, or a null image when the bytes are not a JPEG picture
// the library can read or the picture is larger than the limits (a damaged
// file is never fatal). `why`, when given, says why a picture was refused.
QImage DecodeJpeg(std::string_view bytes, std::string* why = nullptr);
// Reads and decodes a JPEG file; a null image when it is missing or damaged.
QImage LoadJpeg(const std::filesystem::path& file);

// Reads a picture file of any of the formats, told by its contents (a JPEG
// named ".bmp" is still read): a null image when the file is missing, too
// large, damaged or not a picture, with the reason in `why` when given.
QImage ReadPicture(const std::filesystem::path& file, std::string* why = nullptr);

} // namespace tb
