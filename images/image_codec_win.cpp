// Loading and saving images through the platform's imaging component. Every COM object is
// held by a ComRef, so a failure at any step leaves none behind.
#include "images/com_ref_win.h"
#include "images/encode_stream_win.h"
#include "images/image_internal_win.h"
#include "services/file.h"
#include "services/folder.h"

#include <oleauto.h>
#include <wincodec.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

LPCWSTR wide(const char16_t* text)
{
    return reinterpret_cast<LPCWSTR>(text);
}

// A regular file no larger than the limit.
bool file_size_allowed(const char16_t* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(wide(path), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    std::int64_t size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return size > 0 && size <= IMAGE_MAX_FILE_BYTES;
}

// 24-bit pixels (what JPEG decodes to) are copied as they are and widened here, which is
// quicker than the platform's general conversion. They are copied into the last three
// quarters of the bitmap's own memory and widened front to back, so no pixel is written
// before it was read.
bool copy_bgr(IWICBitmapSource* frame, UINT width, UINT height, std::uint32_t* bits)
{
    std::size_t stride = static_cast<std::size_t>(width) * 3;
    std::size_t pixels = static_cast<std::size_t>(width) * height;
    std::uint8_t* rows = reinterpret_cast<std::uint8_t*>(bits) + pixels;
    if (FAILED(frame->CopyPixels(nullptr, static_cast<UINT>(stride), static_cast<UINT>(stride * height), rows)))
        return false;
    pixels_from_bgr({bits, static_cast<int>(width), static_cast<int>(height)}, rows, stride);
    return true;
}

// Any other format, converted by the platform to premultiplied 32-bit pixels.
bool copy_converted(IWICImagingFactory* factory, IWICBitmapSource* frame, UINT width, UINT height, std::uint32_t* bits)
{
    ComRef<IWICFormatConverter> converter;
    UINT stride = width * 4;
    return SUCCEEDED(factory->CreateFormatConverter(converter.put())) &&
           SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                           WICBitmapPaletteTypeCustom)) &&
           SUCCEEDED(converter->CopyPixels(nullptr, stride, stride * height, reinterpret_cast<BYTE*>(bits)));
}

// The first frame as premultiplied 32-bit pixels, in a new bitmap.
HBITMAP decode(IWICImagingFactory* factory, const char16_t* path, std::uint32_t** bits, UINT* width, UINT* height)
{
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    WICPixelFormatGUID format = {};
    if (FAILED(factory->CreateDecoderFromFilename(wide(path), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(width, height)) ||
        !image_size_allowed(*width, *height) || FAILED(frame->GetPixelFormat(&format)))
        return nullptr;
    HBITMAP bitmap = image_new_bitmap(static_cast<int>(*width), static_cast<int>(*height), bits);
    bool copied = bitmap && (format == GUID_WICPixelFormat24bppBGR ? copy_bgr(frame.get(), *width, *height, *bits)
                                                                   : copy_converted(factory, frame.get(), *width, *height, *bits));
    if (bitmap && !copied) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}

struct Encoding {
    GUID container;
    WICPixelFormatGUID pixels;
};

bool encoding_of(int format, Encoding* encoding)
{
    switch (format) {
    case IMAGE_PNG: *encoding = {GUID_ContainerFormatPng, GUID_WICPixelFormat32bppBGRA}; return true;
    case IMAGE_BMP: *encoding = {GUID_ContainerFormatBmp, GUID_WICPixelFormat32bppBGRA}; return true;
    case IMAGE_JPEG: *encoding = {GUID_ContainerFormatJpeg, GUID_WICPixelFormat24bppBGR}; return true;
    default: return false;
    }
}

void set_quality(IPropertyBag2* bag, int quality)
{
    PROPBAG2 option = {};
    option.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_R4;
    value.fltVal = static_cast<float>(quality < 0 ? 0 : quality > 100 ? 100 : quality) / 100.0f;
    bag->Write(1, &option, &value);
}

// The pixels in the layout the encoder settled on (it may refuse the one asked for), handed
// over in strips of rows, so that no copy of the whole picture is ever made.
bool write_pixels(IWICBitmapFrameEncode* frame, const ImageRecord* record, const WICPixelFormatGUID& format)
{
    constexpr int STRIP_ROWS = 64;
    bool straight = format == GUID_WICPixelFormat32bppBGRA || format == GUID_WICPixelFormat32bppBGR;
    if (!straight && format != GUID_WICPixelFormat24bppBGR)
        return false;
    for (int top = 0; top < record->height; top += STRIP_ROWS) {
        int rows = std::min(STRIP_ROWS, record->height - top);
        PixelSurface strip{record->bits + static_cast<std::size_t>(top) * record->width, record->width, rows};
        std::size_t stride = static_cast<std::size_t>(record->width) * 4;
        std::vector<std::uint8_t> bytes = straight ? pixels_to_straight(strip) : pixels_to_bgr(strip, &stride);
        if (FAILED(frame->WritePixels(static_cast<UINT>(rows), static_cast<UINT>(stride),
                                      static_cast<UINT>(bytes.size()), bytes.data())))
            return false;
    }
    return true;
}

// Encodes the image into the stream.
bool encode(IWICImagingFactory* factory, const ImageRecord* record, IStream* stream, int format, int quality)
{
    Encoding encoding;
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> frame;
    ComRef<IPropertyBag2> options;
    if (!encoding_of(format, &encoding) || FAILED(factory->CreateEncoder(encoding.container, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), options.put())))
        return false;
    if (format == IMAGE_JPEG && options)
        set_quality(options.get(), quality);
    WICPixelFormatGUID pixels = encoding.pixels;
    return SUCCEEDED(frame->Initialize(options.get())) &&
           SUCCEEDED(frame->SetSize(static_cast<UINT>(record->width), static_cast<UINT>(record->height))) &&
           SUCCEEDED(frame->SetPixelFormat(&pixels)) && write_pixels(frame.get(), record, pixels) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

// Writes the bytes to a new file and flushes them to the disk; the file is closed either way.
bool write_flushed(const std::u16string& path, const std::uint8_t* bytes, std::size_t size)
{
    ObjectNumber file = file_create(GK_ANY, path.c_str(), OPEN_NO_BUFFER);
    if (!file)
        return false;
    auto length = static_cast<std::int64_t>(size);
    bool ok = (length == 0 || file_write_data(file, bytes, length) == length) && file_flush(file);
    return file_close(file) && ok;
}

std::int64_t g_save_limit = IMAGE_MAX_FILE_BYTES;

}  // namespace

ObjectNumber image_load(ObjectNumber number, const char16_t* path)
{
    IWICImagingFactory* factory = image_factory();
    if (!factory || !path || !file_size_allowed(path))
        return 0;
    std::uint32_t* bits = nullptr;
    UINT width = 0;
    UINT height = 0;
    HBITMAP bitmap = decode(factory, path, &bits, &width, &height);
    if (!bitmap)
        return 0;
    return image_adopt(number, bitmap, bits, static_cast<int>(width), static_cast<int>(height));
}

// The picture is encoded in memory, written beside the target and moved over it only when
// all of it is on the disk: a failed save leaves the old file as it was.
int image_save(ObjectNumber image, const char16_t* path, int format, int quality)
{
    const ImageRecord* record = image_record(image);
    IWICImagingFactory* factory = image_factory();
    if (!record || !factory || !path || !file_start())
        return 0;
    ComRef<IStream> stream;
    *stream.put() = encode_stream_new(static_cast<std::size_t>(g_save_limit));
    if (!stream || !encode(factory, record, stream.get(), format, quality))
        return 0;
    std::size_t size = 0;
    const std::uint8_t* bytes = encode_stream_bytes(stream.get(), &size);
    std::u16string temporary = std::u16string(path) + u".saving";
    if (write_flushed(temporary, bytes, size) && file_replace(temporary.c_str(), path))
        return 1;
    file_delete(temporary.c_str(), DELETE_FORCE);
    return 0;
}

void image_set_save_limit(std::int64_t bytes)
{
    g_save_limit = bytes > 0 ? bytes : IMAGE_MAX_FILE_BYTES;
}
