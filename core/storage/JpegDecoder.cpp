#include "core/storage/JpegDecoder.h"

#include "core/base/StorageError.h"

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

// jpeglib.h uses FILE and size_t without declaring them.
#include <jerror.h>
#include <jpeglib.h>

namespace {

// A progressive file may repeat scans, and libjpeg walks the whole picture for each one. Real files have a dozen
// scans or two.
constexpr int kMaxScans = 100;

// libjpeg's memory and the decoded picture together. A single-scan picture of the largest size (192 MB of pixels)
// fits. Progressive and other multi-scan files also keep every coefficient until the last scan, 2 bytes a sample,
// so the largest that fit are about 53 Mpx of grey, 45 Mpx of 4:2:0 colour, 30 Mpx of 4:4:4 and 24 Mpx of CMYK.
constexpr std::size_t kMaxDecodingMemory = std::size_t{256} << 20;

// Decoding work of one picture, in blocks walked by its scans. A scan walks every block of its channels even when
// its data has ended, so a few bytes can repeat a scan over a large picture: up to about 30 ns a block for Huffman
// coding here (with a restart at every block). An arithmetic decoder fed no data can be steered into decoding every
// coefficient of the scan's band at full length, up to about 150 ns a coefficient, so a coefficient counts as 5
// blocks. The budget is about half a second of such work. Real pictures need far less: 4 million blocks for the
// largest baseline picture, 1.5 million for a progressive 12 Mpx photo. Arithmetic-coded pictures pass up to about
// 2 Mpx of 4:2:0 colour, or 0.8 Mpx in progressive scans.
constexpr std::uint64_t kMaxWork = 16'000'000;
constexpr std::uint64_t kArithmeticCoefficientWork = 5;

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
    int ChargedScan;    // the last scan whose work is counted in Work
    std::uint64_t Work; // in blocks, as kMaxWork
};

JpegErrors& ErrorsOf(j_common_ptr info) { return *reinterpret_cast<JpegErrors*>(info->err); }

[[noreturn]] void Abandon(JpegErrors& errors, const char* why) {
    std::snprintf(errors.Message, sizeof errors.Message, "%s", why);
    std::longjmp(errors.Jump, 1);
}

[[noreturn]] void OnFatalError(j_common_ptr info) {
    JpegErrors& errors = ErrorsOf(info);
    // libjpeg asks for a temporary file when its whole-picture buffers would pass the memory limit.
    if (info->err->msg_code == JERR_NO_BACKING_STORE)
        Abandon(errors, "JPEG picture needs too much memory");
    info->err->format_message(info, errors.Message);
    std::longjmp(errors.Jump, 1);
}

// Warnings (extraneous bytes, data that ends early) are not failures; the picture shows what could be decoded.
void IgnoreMessage(j_common_ptr) {}

// Interleaved scans walk whole MCUs, which pad a channel's blocks to its sampling factors.
std::uint64_t BlocksOf(const jpeg_component_info& channel) {
    const auto padded = [](JDIMENSION blocks, int factor) -> std::uint64_t {
        return (blocks + factor - 1) / factor * static_cast<std::uint64_t>(factor);
    };
    return padded(channel.width_in_blocks, channel.h_samp_factor) *
           padded(channel.height_in_blocks, channel.v_samp_factor);
}

// Work of the scan whose header libjpeg has just read.
std::uint64_t ScanWork(const jpeg_decompress_struct& info) {
    std::uint64_t blocks = 0;
    for (int i = 0; i < info.comps_in_scan; ++i)
        blocks += BlocksOf(*info.cur_comp_info[i]);
    if (!info.arith_code)
        return blocks;
    // A sequential scan decodes all 64 coefficients, whatever band its header names.
    const int band = info.progressive_mode ? std::clamp(info.Se - info.Ss + 1, 1, DCTSIZE2) : DCTSIZE2;
    return blocks * static_cast<std::uint64_t>(band) * kArithmeticCoefficientWork;
}

// Counts each scan's work once, before libjpeg decodes any of it.
void ChargeScan(JpegJob& job) {
    const int scan = job.Info.input_scan_number;
    if (scan == job.ChargedScan)
        return;
    job.ChargedScan = scan;
    if (scan > kMaxScans)
        Abandon(job.Errors, "JPEG file has too many scans");
    job.Work += ScanWork(job.Info);
    if (job.Work > kMaxWork)
        Abandon(job.Errors, "JPEG picture needs too much decoding work");
}

void OnProgress(j_common_ptr info) { ChargeScan(*static_cast<JpegJob*>(info->client_data)); }

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
    job.Info.client_data = &job;
    jpeg_mem_src(&job.Info, job.Data.data(), job.Data.size());
    jpeg_read_header(&job.Info, TRUE);
}

// The picture's own pixels come out of the memory libjpeg may use.
void LimitMemory(JpegJob& job) {
    const std::size_t pictureBytes = static_cast<std::size_t>(job.Info.image_width) * job.Info.image_height * 3;
    job.Info.mem->max_memory_to_use = static_cast<long>(kMaxDecodingMemory - pictureBytes);
}

// The first scan is charged here: a single-scan file decodes it while its rows are read, after the picture is made.
void StartDecompress(JpegJob& job) {
    ChargeScan(job);
    jpeg_start_decompress(&job.Info);
}

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
        if (data[at] != 0xFF) { // coded data, passed up to the next marker byte at once
            const void* marker = std::memchr(data.data() + at, 0xFF, data.size() - at);
            if (marker == nullptr)
                return data;
            at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(marker) - data.data());
            continue;
        }
        const std::uint8_t code = data[at + 1];
        if (code == 0xFF) { // a fill byte
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
    job.Progress.progress_monitor = OnProgress;
    DecompressGuard guard(job.Info);

    if (!RunStep(job, OpenAndReadHeader))
        RaiseFailure(job);
    CheckPictureSize(job.Info.image_width, job.Info.image_height);
    ChooseOutputColours(job);
    LimitMemory(job);
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
