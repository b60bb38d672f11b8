#include "shell/tb_jpeg.h"
#include "tests/test_support.h"
#include "tests/window/window_support.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <cstdio>
#include <jpeglib.h>
#include <random>
#include <string>

namespace tb::test {
namespace fs = std::filesystem;

namespace {

// A small JPEG picture made by the library itself.
std::string MakeJpeg(int width, int height, bool progressive = false) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    while (info.next_scanline < info.image_height) {
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = static_cast<unsigned char>(i * 7 + info.next_scanline * 13);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

// The same picture with the frame header claiming other dimensions.
std::string ClaimSize(std::string jpeg, int width, int height) {
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
        const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            jpeg[i + 5] = static_cast<char>(height >> 8);
            jpeg[i + 6] = static_cast<char>(height & 0xFF);
            jpeg[i + 7] = static_cast<char>(width >> 8);
            jpeg[i + 8] = static_cast<char>(width & 0xFF);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

std::string Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes.toStdString();
}

void Put32(std::string& s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
}

} // namespace

class PictureTest : public WindowTest {};

TEST_F(PictureTest, HostileTinyFilesAreRefusedWithAReasonAndNeverCrash) {
    TempFolder dir;
    QImage sample(8, 8, QImage::Format_RGB32);
    sample.fill(Qt::darkGreen);
    const std::string jpeg = MakeJpeg(16, 16);
    // A bitmap whose header claims 65,500 × 65,500 pixels of 24 bits.
    std::string bmp = Encoded(sample, "BMP");
    Put32(bmp, 18, 65500);
    Put32(bmp, 22, 65500);
    // A PNG whose header claims the same (its checksum is then wrong, too).
    std::string png = Encoded(sample, "PNG");
    png[16] = png[20] = 0;
    png[17] = png[21] = 0;
    png[18] = png[22] = static_cast<char>(0xFF);
    png[19] = png[23] = static_cast<char>(0xDC);
    const struct {
        const char* Name;
        std::string Bytes;
    } hostile[] = {
        {"huge.jpg", ClaimSize(jpeg, 65500, 65500)},
        {"wide.jpg", ClaimSize(jpeg, 20000, 20000)},
        {"tall.jpg", ClaimSize(MakeJpeg(16, 16, true), 9000, 16)},
        {"huge.bmp", bmp},
        {"huge.png", png},
        {"garbage.jpg", "\xFF\xD8\xFF\xE0 this is no picture at all"},
        {"garbage.bmp", "BM and then nothing"},
        {"empty.png", ""},
        {"cut.jpg", jpeg.substr(0, 20)},
    };
    for (const auto& h : hostile) {
        WriteFile(dir / h.Name, h.Bytes);
        std::string why;
        EXPECT_TRUE(ReadPicture(dir / h.Name, &why).isNull()) << h.Name;
        EXPECT_FALSE(why.empty()) << h.Name;
    }
    EXPECT_TRUE(DecodeJpeg(ClaimSize(jpeg, 65500, 65500)).isNull());
    std::string why;
    EXPECT_TRUE(ReadPicture(dir / "missing.bmp", &why).isNull());
    EXPECT_FALSE(why.empty());

    // Sound pictures of every kind read as they are, whatever their name says.
    WriteFile(dir / "good.jpg", jpeg);
    WriteFile(dir / "good.bmp", Encoded(sample, "BMP"));
    WriteFile(dir / "good.png", Encoded(sample, "PNG"));
    WriteFile(dir / "really-a-jpeg.bmp", jpeg);
    for (const auto& [name, width] :
         {std::pair{"good.jpg", 16}, {"good.bmp", 8}, {"good.png", 8}, {"really-a-jpeg.bmp", 16}})
        EXPECT_EQ(ReadPicture(dir / name).width(), width) << name;
}

TEST_F(PictureTest, MutatedJpegsGiveAPictureWithinTheLimitsOrARefusal) {
    const std::string bases[] = {MakeJpeg(40, 24), MakeJpeg(24, 40, true)};
    std::mt19937 random(16);
    for (const std::string& base : bases) {
        for (int round = 0; round < 400; ++round) {
            std::string bytes = base;
            if (round % 4 == 0) {
                bytes.resize(random() % bytes.size());
            } else {
                const int flips = 1 + static_cast<int>(random() % 6);
                for (int i = 0; i < flips; ++i)
                    bytes[random() % bytes.size()] = static_cast<char>(random());
            }
            const QImage picture = DecodeJpeg(bytes);
            if (picture.isNull()) continue;
            ASSERT_LE(picture.width(), PictureMaxSide) << round;
            ASSERT_LE(picture.height(), PictureMaxSide) << round;
        }
    }
}

} // namespace tb::test
