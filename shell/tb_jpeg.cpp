#include "shell/tb_jpeg.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <jpeglib.h>
#include <memory>
#include <system_error>

namespace tb {
namespace {

// More scans than any encoder writes: a progressive file of thousands of
// tiny scans would keep the decoder busy for minutes.
constexpr int MaxScans = 400;

// The library reports a fatal error through this handler; it jumps back to
// the decoder instead of ending the program. Nothing the library reports
// ever ends or aborts the program.
struct TJpegError {
    jpeg_error_mgr Manager{};
    std::jmp_buf Escape{};
    std::string Reason;
};

[[noreturn]] void OnJpegError(j_common_ptr info) {
    auto* error = reinterpret_cast<TJpegError*>(info->err);
    if (error->Reason.empty()) {
        char text[JMSG_LENGTH_MAX] = {};
        (*info->err->format_message)(info, text);
        error->Reason = text;
    }
    std::longjmp(error->Escape, 1);
}

void IgnoreJpegMessage(j_common_ptr) {}

// Ends the decoding of a file with too many scans.
void CountScans(j_common_ptr info) {
    if (info->is_decompressor == 0) return;
    const auto* decoder = reinterpret_cast<j_decompress_ptr>(info);
    if (decoder->input_scan_number <= MaxScans) return;
    reinterpret_cast<TJpegError*>(info->err)->Reason = "the picture has too many scans";
    std::longjmp(reinterpret_cast<TJpegError*>(info->err)->Escape, 1);
}

// Why a picture of these dimensions is not read; empty when it may be.
std::string SizeRefusal(std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0) return "the picture has no pixels";
    if (width > PictureMaxSide || height > PictureMaxSide || width * height > PictureMaxPixels)
        return "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
               " pixels, larger than any screen needs";
    return {};
}

// Decodes into `picture`, which the caller owns, so that nothing of this
// frame needs to survive the jump back from a library error. The header is
// read and the dimensions checked before any pixel memory is taken.
bool DecodeInto(std::string_view bytes, jpeg_decompress_struct& info, TJpegError& error,
                std::unique_ptr<QImage>& picture) {
    if (setjmp(error.Escape) != 0) return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        error.Reason = "the picture has no image";
        return false;
    }
    error.Reason = SizeRefusal(info.image_width, info.image_height);
    if (!error.Reason.empty()) return false;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    error.Reason = SizeRefusal(info.output_width, info.output_height);
    if (!error.Reason.empty() || info.output_components != 3) {
        if (error.Reason.empty()) error.Reason = "the picture has an unknown colour layout";
        return false;
    }
    picture = std::make_unique<QImage>(static_cast<int>(info.output_width),
                                       static_cast<int>(info.output_height), QImage::Format_RGB888);
    if (picture->isNull()) {
        error.Reason = "there is not enough memory for the picture";
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = picture->scanLine(static_cast<int>(info.output_scanline));
        if (jpeg_read_scanlines(&info, &row, 1) != 1) {
            error.Reason = "the picture data ends early";
            return false;
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

bool IsJpeg(std::string_view bytes) {
    return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xD8 &&
           static_cast<unsigned char>(bytes[2]) == 0xFF;
}

// The whole file, when it is a regular file within the size limit.
bool ReadLimited(const std::filesystem::path& file, std::string& bytes, std::string& why) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || !std::filesystem::is_regular_file(file, ec)) {
        why = "the file cannot be read";
        return false;
    }
    if (size > PictureMaxFileBytes) {
        why = "the file is larger than any picture needs";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    bytes.resize(static_cast<std::size_t>(size));
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        why = "the file cannot be read";
        return false;
    }
    return true;
}

// A bitmap, PNG or other picture the toolkit reads, its size checked from
// its header first.
QImage DecodeOther(const std::string& bytes, std::string& why) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (!size.isValid()) {
        why = "the file is no picture this program reads";
        return {};
    }
    why = SizeRefusal(size.width(), size.height());
    if (!why.empty()) return {};
    QImage picture = reader.read();
    if (picture.isNull()) {
        why = "the picture is damaged: " + reader.errorString().toStdString();
        return {};
    }
    why = SizeRefusal(picture.width(), picture.height());
    if (!why.empty()) return {};
    return picture;
}

} // namespace

QImage DecodeJpeg(std::string_view bytes, std::string* why) {
    std::string ignored;
    std::string& reason = why ? *why : ignored;
    if (bytes.empty()) {
        reason = "the file is empty";
        return {};
    }
    jpeg_decompress_struct info{};
    TJpegError error;
    info.err = jpeg_std_error(&error.Manager);
    error.Manager.error_exit = OnJpegError;
    error.Manager.output_message = IgnoreJpegMessage;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = CountScans;
    info.progress = &progress;
    std::unique_ptr<QImage> picture;
    const bool decoded = DecodeInto(bytes, info, error, picture);
    jpeg_destroy_decompress(&info);
    if (!decoded || !picture) {
        reason = error.Reason.empty() ? "the picture is damaged" : error.Reason;
        return {};
    }
    QImage converted = picture->convertToFormat(QImage::Format_RGB32);
    if (converted.isNull()) reason = "there is not enough memory for the picture";
    return converted;
}

QImage LoadJpeg(const std::filesystem::path& file) {
    return ReadPicture(file);
}

QImage ReadPicture(const std::filesystem::path& file, std::string* why) {
    std::string ignored;
    std::string& reason = why ? *why : ignored;
    std::string bytes;
    if (!ReadLimited(file, bytes, reason)) return {};
    if (IsJpeg(bytes)) return DecodeJpeg(bytes, &reason);
    return DecodeOther(bytes, reason);
}

} // namespace tb
