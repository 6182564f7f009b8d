// Images and drawing against the platform doing the same work directly, in one run:
// loading, scaling and saving a 4,000 x 3,000 picture against the imaging component's own
// decoder, scaler and encoder; a million draw_pixel calls against writes to the bitmap's
// memory; drawing on a 1,000 x 1,000 canvas and showing it against drawing into an image and
// copying that to the window once, with the number of copies the canvas made.
#include "images/com_ref_win.h"
#include "images/draw.h"
#include "images/image.h"
#include "toolkit/control.h"
#include "toolkit/controls/canvas.h"
#include "toolkit/event.h"
#include "toolkit/event_window.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

#include "bench/bench_clock_win.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// The imaging component alone: decode, Fant scaling to half size, JPEG encoding. With
// `whole`, the frame is first decoded at full size into a bitmap, as an image holds it.
bool platform_round(IWICImagingFactory* factory, const wchar_t* from, const wchar_t* to, bool whole)
{
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> decoded;
    ComRef<IWICBitmap> bitmap;
    ComRef<IWICBitmapScaler> scaler;
    ComRef<IWICFormatConverter> converter;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> target;
    ComRef<IPropertyBag2> options;
    UINT width = 0, height = 0;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    return SUCCEEDED(factory->CreateDecoderFromFilename(from, nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                        decoder.put())) &&
           SUCCEEDED(decoder->GetFrame(0, decoded.put())) && SUCCEEDED(decoded->GetSize(&width, &height)) &&
           (!whole || SUCCEEDED(factory->CreateBitmapFromSource(decoded.get(), WICBitmapCacheOnLoad, bitmap.put()))) &&
           SUCCEEDED(factory->CreateBitmapScaler(scaler.put())) &&
           SUCCEEDED(scaler->Initialize(whole ? static_cast<IWICBitmapSource*>(bitmap.get()) : decoded.get(), width / 2,
                                        height / 2, WICBitmapInterpolationModeFant)) &&
           SUCCEEDED(factory->CreateFormatConverter(converter.put())) &&
           SUCCEEDED(converter->Initialize(scaler.get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr,
                                           0.0, WICBitmapPaletteTypeCustom)) &&
           SUCCEEDED(factory->CreateStream(stream.put())) &&
           SUCCEEDED(stream->InitializeFromFilename(to, GENERIC_WRITE)) &&
           SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.put())) &&
           SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(target.put(), options.put())) &&
           SUCCEEDED(target->Initialize(options.get())) && SUCCEEDED(target->SetSize(width / 2, height / 2)) &&
           SUCCEEDED(target->SetPixelFormat(&format)) && SUCCEEDED(target->WriteSource(converter.get(), nullptr)) &&
           SUCCEEDED(target->Commit()) && SUCCEEDED(encoder->Commit());
}

// Seconds of each step (load, scale, save) of the best round so far.
double g_steps[3] = {1e9, 1e9, 1e9};

bool ours_round(const char16_t* from, const char16_t* to)
{
    LARGE_INTEGER start = bench_now();
    ObjectNumber image = image_load(GK_ANY, from);
    double load = bench_seconds_since(start);
    start = bench_now();
    bool done = image && image_scale(image, image_width(image) / 2, image_height(image) / 2, IMAGE_SCALE_SMOOTH);
    double scale = bench_seconds_since(start);
    start = bench_now();
    done = done && image_save(image, to, IMAGE_JPEG);
    double save = bench_seconds_since(start);
    if (load + scale + save < g_steps[0] + g_steps[1] + g_steps[2])
        g_steps[0] = load, g_steps[1] = scale, g_steps[2] = save;
    image_free(image);
    return done;
}

void bench_files(const std::u16string& folder)
{
    std::u16string source = folder + u"qn-bench-4000.jpg";
    std::u16string ours = folder + u"qn-bench-ours.jpg";
    std::u16string platform = folder + u"qn-bench-platform.jpg";
    ObjectNumber picture = image_create(GK_ANY, 4000, 3000, RGB(90, 140, 200));
    draw_begin_image(picture);
    for (int i = 0; i < 200; ++i)
        draw_ellipse((i * 97) % 3800, (i * 53) % 2800, 200, 200, RGB(i, 255 - i, (i * 7) % 256));
    draw_end();
    image_save(picture, source.c_str(), IMAGE_JPEG);
    image_free(picture);
    void* made = nullptr;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory, &made);
    auto* factory = static_cast<IWICImagingFactory*>(made);
    double best_ours = 1e9, best_platform = 1e9, best_whole = 1e9;
    for (int round = 0; round < 3 && factory; ++round) {
        LARGE_INTEGER start = bench_now();
        bool platform_done = platform_round(factory, reinterpret_cast<LPCWSTR>(source.c_str()),
                                            reinterpret_cast<LPCWSTR>(platform.c_str()), false);
        best_platform = std::min(best_platform, bench_seconds_since(start));
        start = bench_now();
        platform_done = platform_round(factory, reinterpret_cast<LPCWSTR>(source.c_str()),
                                       reinterpret_cast<LPCWSTR>(platform.c_str()), true) && platform_done;
        best_whole = std::min(best_whole, bench_seconds_since(start));
        start = bench_now();
        bool ours_done = ours_round(source.c_str(), ours.c_str());
        best_ours = std::min(best_ours, bench_seconds_since(start));
        if (!platform_done || !ours_done)
            std::printf("a round failed (ours %d, platform %d)\n", ours_done, platform_done);
    }
    if (factory)
        factory->Release();
    std::printf("load, scale to half and save 4000 x 3000 JPEG: ours %.3f s, imaging component %.3f s, ratio %.2f\n",
                best_ours, best_platform, best_ours / best_platform);
    std::printf("  against the imaging component decoding the whole frame into a bitmap first: %.3f s, ratio %.2f\n",
                best_whole, best_ours / best_whole);
    std::printf("  ours by step: load %.3f s, scale %.3f s, save %.3f s\n", g_steps[0], g_steps[1], g_steps[2]);
    for (const std::u16string& path : {source, ours, platform})
        DeleteFileW(reinterpret_cast<LPCWSTR>(path.c_str()));
}

void bench_pixels()
{
    constexpr int SIDE = 1000;
    ObjectNumber image = image_create(GK_ANY, SIDE, SIDE, 0);
    double best_ours = 1e9, best_direct = 1e9;
    BITMAP bitmap = {};
    GetObjectW(static_cast<HBITMAP>(image_bitmap(image)), sizeof(bitmap), &bitmap);
    auto* bits = static_cast<volatile std::uint32_t*>(bitmap.bmBits);
    for (int round = 0; round < 5; ++round) {
        draw_begin_image(image);
        LARGE_INTEGER start = bench_now();
        for (int y = 0; y < SIDE; ++y)
            for (int x = 0; x < SIDE; ++x)
                draw_pixel(x, y, static_cast<std::int32_t>(x ^ y ^ round));
        best_ours = std::min(best_ours, bench_seconds_since(start));
        draw_end();
        start = bench_now();
        for (int y = 0; y < SIDE; ++y) {
            for (int x = 0; x < SIDE; ++x) {
                std::uint32_t color = static_cast<std::uint32_t>(x ^ y ^ round);
                bits[y * SIDE + x] = 0xFF000000u | ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
            }
        }
        best_direct = std::min(best_direct, bench_seconds_since(start));
    }
    image_free(image);
    std::printf("1,000,000 draw_pixel: ours %.4f s, the bitmap's memory %.4f s, ratio %.2f\n", best_ours, best_direct,
                best_ours / best_direct);
}

// 2,000 rectangles and 2,000 pixels, then shown.
void scene(int round)
{
    for (int i = 0; i < 2000; ++i) {
        draw_rectangle((i * 37 + round) % 980, (i * 91) % 980, 20, 20, RGB(i % 256, round * 40, 128));
        draw_pixel((i * 13) % 1000, (i * 29) % 1000, RGB(0, 0, 0));
    }
}

void bench_canvas()
{
    ObjectNumber window = window_open(GK_ANY, 0, 0, 1040, 1040, u"Canvas benchmark", GK_Window_SystemMenu, nullptr);
    ObjectNumber canvas = canvas_create(GK_ANY, 0, 0, 1000, 1000, 0);
    ObjectNumber image = image_create(GK_ANY, 1000, 1000, RGB(255, 255, 255));
    HWND handle = static_cast<HWND>(control_os_handle(canvas));
    UpdateWindow(handle);
    int repaints = static_cast<int>(control_get_attribute(canvas, CANVAS_REPAINTS));
    double best_ours = 1e9, best_direct = 1e9;
    for (int round = 0; round < 5; ++round) {
        LARGE_INTEGER start = bench_now();
        draw_begin_canvas(canvas);
        scene(round);
        draw_end();
        best_ours = std::min(best_ours, bench_seconds_since(start));
        start = bench_now();
        draw_begin_image(image);
        scene(round);
        draw_end();
        HDC screen = GetDC(handle);
        HDC memory = CreateCompatibleDC(screen);
        HGDIOBJ previous = SelectObject(memory, image_bitmap(image));
        BitBlt(screen, 0, 0, 1000, 1000, memory, 0, 0, SRCCOPY);
        SelectObject(memory, previous);
        DeleteDC(memory);
        ReleaseDC(handle, screen);
        best_direct = std::min(best_direct, bench_seconds_since(start));
    }
    int copies = static_cast<int>(control_get_attribute(canvas, CANVAS_REPAINTS)) - repaints;
    std::printf("1,000 x 1,000 canvas, 4,000 primitives shown: ours %.4f s, image and one copy %.4f s, ratio %.2f; "
                "copies to the screen in 5 drawings: %d\n",
                best_ours, best_direct, best_ours / best_direct, copies);
    image_free(image);
    window_close(window);
}

}  // namespace

int main()
{
    if (!event_start() || !event_window_start() || !window_start() || !control_start() || !image_start()) {
        std::printf("the components could not start\n");
        return 1;
    }
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    bench_files(reinterpret_cast<const char16_t*>(temp));
    bench_pixels();
    bench_canvas();
    image_end();
    return 0;
}
