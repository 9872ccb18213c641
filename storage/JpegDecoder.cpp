#include "storage/JpegDecoder.h"

#include "storage/StorageError.h"

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

// jpeglib.h uses FILE and size_t without declaring them.
#include <jpeglib.h>

namespace {

// A progressive file may repeat scans, and libjpeg walks the whole picture for each one: a few kilobytes can keep
// it busy for seconds on a picture of the largest size. Real files have a dozen scans or two.
constexpr int kMaxScans = 100;

// libjpeg reports a fatal error through a callback that must not return: it jumps back to the step that called
// into libjpeg, with the text of the error kept here.
struct JpegErrors {
    jpeg_error_mgr Manager; // first member: libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

// Everything a step touches. Plain data only, and raw pointers into buffers owned by the caller, because an error
// jumps over the step's frames without running destructors.
struct JpegJob {
    jpeg_decompress_struct Info;
    JpegErrors Errors;
    jpeg_progress_mgr Progress;
    ByteView Data;
    std::uint8_t* Pixels; // the output, three bytes a pixel
    std::uint8_t* InkRow; // one row of four-channel ink for CMYK pictures, or null
    bool InvertedInk;
};

JpegErrors& ErrorsOf(j_common_ptr info) { return *reinterpret_cast<JpegErrors*>(info->err); }

[[noreturn]] void Abandon(JpegErrors& errors, const char* why) {
    std::snprintf(errors.Message, sizeof errors.Message, "%s", why);
    std::longjmp(errors.Jump, 1);
}

[[noreturn]] void OnFatalError(j_common_ptr info) {
    JpegErrors& errors = ErrorsOf(info);
    info->err->format_message(info, errors.Message);
    std::longjmp(errors.Jump, 1);
}

// Warnings (extraneous bytes, data that ends early) are not failures; the picture shows what could be decoded.
void IgnoreMessage(j_common_ptr) {}

void LimitScans(j_common_ptr info) {
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans)
        Abandon(ErrorsOf(info), "JPEG file has too many scans");
}

// Runs one step that calls libjpeg; false when libjpeg raised an error inside it.
bool RunStep(JpegJob& job, void (*step)(JpegJob&)) {
    if (setjmp(job.Errors.Jump) != 0)
        return false;
    step(job);
    return true;
}

void OpenAndReadHeader(JpegJob& job) {
    jpeg_create_decompress(&job.Info);
    job.Info.progress = &job.Progress;
    jpeg_mem_src(&job.Info, job.Data.data(), job.Data.size());
    jpeg_read_header(&job.Info, TRUE);
}

void StartDecompress(JpegJob& job) { jpeg_start_decompress(&job.Info); }

std::uint8_t Scale(unsigned light, unsigned keyLight) {
    return static_cast<std::uint8_t>((light * keyLight + 127) / 255);
}

// Adobe applications store inverted ink (255 means none); others store the ink amount itself.
void InkToRgb(const std::uint8_t* ink, std::uint8_t* rgb, JDIMENSION width, bool inverted) {
    const auto light = [inverted](std::uint8_t value) -> unsigned { return inverted ? value : 255u - value; };
    for (JDIMENSION x = 0; x < width; ++x, ink += 4, rgb += 3) {
        const unsigned key = light(ink[3]);
        rgb[0] = Scale(light(ink[0]), key);
        rgb[1] = Scale(light(ink[1]), key);
        rgb[2] = Scale(light(ink[2]), key);
    }
}

void ReadRows(JpegJob& job) {
    jpeg_decompress_struct& info = job.Info;
    const std::size_t rowBytes = static_cast<std::size_t>(info.output_width) * 3;
    while (info.output_scanline < info.output_height) {
        std::uint8_t* target = job.Pixels + info.output_scanline * rowBytes;
        JSAMPROW row = job.InkRow != nullptr ? job.InkRow : target;
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            Abandon(job.Errors, "JPEG decoder stalled");
        if (job.InkRow != nullptr)
            InkToRgb(job.InkRow, target, info.output_width, job.InvertedInk);
    }
}

// Every picture comes out as RGB; four-channel ink is converted by hand since libjpeg does not.
void ChooseOutputColours(JpegJob& job) {
    jpeg_decompress_struct& info = job.Info;
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_RGB:
    case JCS_YCbCr: info.out_color_space = JCS_EXT_RGB; return;
    case JCS_CMYK:
    case JCS_YCCK:
        info.out_color_space = JCS_CMYK;
        job.InvertedInk = info.saw_Adobe_marker;
        return;
    default: throw StorageError("JPEG colour space not supported");
    }
}

// Frees libjpeg's state however the decoding ends.
class DecompressGuard {
public:
    explicit DecompressGuard(jpeg_decompress_struct& info) : info_(info) {}
    ~DecompressGuard() { jpeg_destroy_decompress(&info_); }
    DecompressGuard(const DecompressGuard&) = delete;
    DecompressGuard& operator=(const DecompressGuard&) = delete;

private:
    jpeg_decompress_struct& info_;
};

bool IsStandaloneMarker(std::uint8_t code) {
    return code == 0x00 || code == 0x01 || (code >= 0xD0 && code <= 0xD8); // stuffed zero, TEM, RSTn, SOI
}

// libjpeg pads data that ends early with an end marker. Inside coded data that ends the picture cleanly, but inside
// a marker segment (the tables of a later scan) the padding is read as the segment's contents and fails. Dropping
// an unfinished segment at the end makes every cut after the first scan's header show what was decoded.
ByteView WithoutUnfinishedSegment(ByteView data) {
    std::size_t at = 2; // after the start marker
    while (at + 1 < data.size()) {
        const std::uint8_t code = data[at + 1];
        if (data[at] != 0xFF || code == 0xFF) { // coded data or a fill byte
            ++at;
            continue;
        }
        if (IsStandaloneMarker(code)) {
            at += 2;
            continue;
        }
        if (code == 0xD9)
            return data;
        if (at + 4 > data.size())
            return data.first(at);
        const std::size_t end = at + 2 + (static_cast<std::size_t>(data[at + 2]) << 8 | data[at + 3]);
        if (end > data.size())
            return data.first(at);
        at = end;
    }
    return data;
}

[[noreturn]] void RaiseFailure(const JpegJob& job) {
    throw StorageError(std::string("JPEG picture damaged: ") + job.Errors.Message);
}

} // namespace

void DecodeJpeg(ByteView data, Bitmap& bitmap) {
    JpegJob job{};
    job.Data = WithoutUnfinishedSegment(data);
    job.Info.err = jpeg_std_error(&job.Errors.Manager);
    job.Errors.Manager.error_exit = OnFatalError;
    job.Errors.Manager.output_message = IgnoreMessage;
    job.Progress.progress_monitor = LimitScans;
    DecompressGuard guard(job.Info);

    if (!RunStep(job, OpenAndReadHeader))
        RaiseFailure(job);
    CheckPictureSize(job.Info.image_width, job.Info.image_height);
    ChooseOutputColours(job);
    if (!RunStep(job, StartDecompress))
        RaiseFailure(job);

    Bitmap picture;
    picture.Width = static_cast<int>(job.Info.output_width);
    picture.Height = static_cast<int>(job.Info.output_height);
    picture.Format = PixelFormat::Bits24;
    picture.Pixels.resize(static_cast<std::size_t>(picture.Width) * picture.Height * 3);
    Bytes inkRow(job.Info.out_color_space == JCS_CMYK ? static_cast<std::size_t>(picture.Width) * 4 : 0);
    job.Pixels = picture.Pixels.data();
    job.InkRow = inkRow.empty() ? nullptr : inkRow.data();
    if (!RunStep(job, ReadRows))
        RaiseFailure(job);
    bitmap = std::move(picture);
}
