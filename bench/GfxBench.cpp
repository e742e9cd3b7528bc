// Source-copy blits and nearest-neighbour stretches of a 640 × 480 picture onto a 1024 × 768
// screen: ours in 32-bit beside pixman on the same operations, and ours in 8-bit.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdint>

#include "platform/gfx/Dc.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/SystemPalette.h"

namespace {

using namespace tamber::gfx;

constexpr int32_t kSrcW = 640, kSrcH = 480, kDstW = 1024, kDstH = 768;

void FillPattern(Image& img)
{
    for (int32_t y = 0; y < img.Height(); ++y) {
        for (int32_t x = 0; x < img.Width(); ++x)
            img.Set(x, y, static_cast<uint32_t>(x * 2654435761u ^ y * 40503u) & (img.Format() == PixelFormat::Rgb32 ? 0xFFFFFF : 0xFF));
    }
}

struct Ours {
    Image screen;
    SystemPalette system;
    Dc dc;
    std::unique_ptr<Dc> memory;
    DeviceBitmap picture;
    explicit Ours(PixelFormat format)
        : screen(kDstW, kDstH, format)
        , dc(screen.View(), &system)
        , memory(Dc::CreateCompatible(dc))
        , picture(kSrcW, kSrcH, format)
    {
        FillPattern(picture.Pixels());
        memory->SelectBitmap(&picture);
        dc.SetStretchBltMode(StretchMode::ColorOnColor);
    }
};

void OursCopy(benchmark::State& state, PixelFormat format)
{
    Ours o(format);
    for (auto _ : state) {
        o.dc.BitBlt(192, 144, kSrcW, kSrcH, o.memory.get(), 0, 0, Rop3::kSrcCopy);
        benchmark::DoNotOptimize(o.screen.View().pixels);
    }
    state.SetItemsProcessed(state.iterations() * kSrcW * kSrcH);
}

void OursStretch(benchmark::State& state, PixelFormat format)
{
    Ours o(format);
    for (auto _ : state) {
        o.dc.StretchBlt(0, 0, kDstW, kDstH, o.memory.get(), 0, 0, kSrcW, kSrcH, Rop3::kSrcCopy);
        benchmark::DoNotOptimize(o.screen.View().pixels);
    }
    state.SetItemsProcessed(state.iterations() * kDstW * kDstH);
}

struct Pixman {
    Image screen { kDstW, kDstH, PixelFormat::Rgb32 };
    Image picture { kSrcW, kSrcH, PixelFormat::Rgb32 };
    pixman_image_t* dst;
    pixman_image_t* src;
    Pixman()
    {
        FillPattern(picture);
        dst = pixman_image_create_bits(PIXMAN_x8r8g8b8, kDstW, kDstH, reinterpret_cast<uint32_t*>(screen.View().pixels),
                                       screen.Pitch());
        src = pixman_image_create_bits(PIXMAN_x8r8g8b8, kSrcW, kSrcH,
                                       reinterpret_cast<uint32_t*>(picture.View().pixels), picture.Pitch());
    }
    ~Pixman()
    {
        pixman_image_unref(dst);
        pixman_image_unref(src);
    }
};

void PixmanCopy(benchmark::State& state)
{
    Pixman p;
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, p.src, nullptr, p.dst, 0, 0, 0, 0, 192, 144, kSrcW, kSrcH);
        benchmark::DoNotOptimize(p.screen.View().pixels);
    }
    state.SetItemsProcessed(state.iterations() * kSrcW * kSrcH);
}

void PixmanStretch(benchmark::State& state)
{
    Pixman p;
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(double(kSrcW) / kDstW),
                                pixman_double_to_fixed(double(kSrcH) / kDstH));
    pixman_image_set_transform(p.src, &t);
    pixman_image_set_filter(p.src, PIXMAN_FILTER_NEAREST, nullptr, 0);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, p.src, nullptr, p.dst, 0, 0, 0, 0, 0, 0, kDstW, kDstH);
        benchmark::DoNotOptimize(p.screen.View().pixels);
    }
    state.SetItemsProcessed(state.iterations() * kDstW * kDstH);
}

BENCHMARK_CAPTURE(OursCopy, rgb32, PixelFormat::Rgb32);
BENCHMARK(PixmanCopy);
BENCHMARK_CAPTURE(OursStretch, rgb32, PixelFormat::Rgb32);
BENCHMARK(PixmanStretch);
BENCHMARK_CAPTURE(OursCopy, indexed8, PixelFormat::Indexed8);
BENCHMARK_CAPTURE(OursStretch, indexed8, PixelFormat::Indexed8);

} // namespace

BENCHMARK_MAIN();
