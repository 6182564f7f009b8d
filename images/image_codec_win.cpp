// Loading and saving images through the platform's imaging component. Every COM object is
// held by a ComRef, so a failure at any step leaves none behind.
#include "images/com_ref_win.h"
#include "images/image_internal_win.h"

#include <oleauto.h>
#include <wincodec.h>

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

// The first frame, converted to premultiplied 32-bit pixels, into a new bitmap.
HBITMAP decode(IWICImagingFactory* factory, const char16_t* path, std::uint32_t** bits, UINT* width, UINT* height)
{
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICFormatConverter> converter;
    if (FAILED(factory->CreateDecoderFromFilename(wide(path), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(width, height)) ||
        !image_size_allowed(*width, *height) || FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return nullptr;
    HBITMAP bitmap = image_new_bitmap(static_cast<int>(*width), static_cast<int>(*height), bits);
    UINT stride = *width * 4;
    if (bitmap && FAILED(converter->CopyPixels(nullptr, stride, stride * *height, reinterpret_cast<BYTE*>(*bits)))) {
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

// The pixels in the layout the encoder settled on (it may refuse the one asked for).
bool write_pixels(IWICBitmapFrameEncode* frame, const ImageRecord* record, const WICPixelFormatGUID& format)
{
    PixelSurface surface = image_surface(record);
    std::size_t stride = static_cast<std::size_t>(record->width) * 4;
    std::vector<std::uint8_t> bytes;
    if (format == GUID_WICPixelFormat32bppBGRA || format == GUID_WICPixelFormat32bppBGR)
        bytes = pixels_to_straight(surface);
    else if (format == GUID_WICPixelFormat24bppBGR)
        bytes = pixels_to_bgr(surface, &stride);
    else
        return false;
    return SUCCEEDED(frame->WritePixels(static_cast<UINT>(record->height), static_cast<UINT>(stride),
                                        static_cast<UINT>(bytes.size()), bytes.data()));
}

// *written tells whether the file was opened for writing (and so needs removing on failure).
bool encode(IWICImagingFactory* factory, const ImageRecord* record, const char16_t* path, int format, int quality,
            bool* written)
{
    Encoding encoding;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> frame;
    ComRef<IPropertyBag2> options;
    if (!encoding_of(format, &encoding) || FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromFilename(wide(path), GENERIC_WRITE)))
        return false;
    *written = true;
    if (FAILED(factory->CreateEncoder(encoding.container, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
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

int image_save(ObjectNumber image, const char16_t* path, int format, int quality)
{
    const ImageRecord* record = image_record(image);
    IWICImagingFactory* factory = image_factory();
    if (!record || !factory || !path)
        return 0;
    bool written = false;
    if (encode(factory, record, path, format, quality, &written))
        return 1;
    if (written)
        DeleteFileW(wide(path));
    return 0;
}
