// Painting cost of the skinned main window against the same window in the
// system look, measured in one run: a full background rebuild, an ordinary
// WM_PAINT, and one hover-fade frame of a caption button. Prints medians and
// ratios.
//   paint_bench.exe [ROUNDS, default 15]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "app/main_form.h"
#include "gdip/graphics.h"
#include "resources/embedded_images.h"
#include "runtime/gdiplus_session.h"
#include "skin/paint/paint_primitives.h"
#include "skin/paint/background_image.h"
#include "skin/skin_engine.h"

namespace {

double Seconds() {
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Drain() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
}

// Median of the per-call time over `rounds` rounds of `calls` calls each.
double Median(int rounds, int calls, const std::function<void()>& work) {
    std::vector<double> times;
    for (int r = 0; r < rounds; ++r) {
        const double start = Seconds();
        for (int i = 0; i < calls; ++i) work();
        times.push_back((Seconds() - start) / calls);
        Drain();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Repaint(HWND window) {
    ::InvalidateRect(window, nullptr, TRUE);
    ::UpdateWindow(window);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    StartGdiplus();
    SkinEngine engine(LoadProgramIcon());

    // Start-up share, measured once and cold: making and showing the main
    // window, then skinning it as the updater does up to its first paint.
    double madeAt = Seconds();
    HWND plain = LoadMainFormWithoutEvents(engine.AppIcon());
    const double made = Seconds() - madeAt;
    HWND skinned = LoadMainFormWithoutEvents(engine.AppIcon());
    if (!plain || !skinned) {
        std::fprintf(stderr, "paint_bench: the main window could not be made\n");
        return 1;
    }
    const double skinnedAt = Seconds();
    const ByteArray background = EmbeddedImageBytes(EmbeddedImage::Background);
    engine.SetBackground(Text(), background, std::nullopt, 0x51AE51, 3);
    const double backgroundSet = Seconds() - skinnedAt;
    engine.SetOptions(1, 80);
    SkinEngine::FormOptions options;
    options.captionHeight = 110;
    options.resizable = 0;
    options.captionSheen = 1;
    options.backMode = 3;
    const int form = engine.AttachForm(skinned, options, background);
    if (form < 1) {
        std::fprintf(stderr, "paint_bench: the skin could not be attached\n");
        return 1;
    }
    const double attached = Seconds() - skinnedAt;
    Repaint(skinned);
    const double skinning = Seconds() - skinnedAt;
    std::printf("main window made and shown: %.1f ms; skinning it to its first paint: %.1f ms (SetBackground %.1f ms,"
                " AttachForm %.1f ms, first paint %.1f ms)\n",
                made * 1e3, skinning * 1e3, backgroundSet * 1e3, (attached - backgroundSet) * 1e3,
                (skinning - attached) * 1e3);
    Repaint(skinned);
    Drain();

    // The four kinds are measured one after the other in every round and
    // compared within the round, so a busy machine slows both sides of a ratio.
    FormSkin* entry = engine.Form(form);
    auto timeCalls = [](int calls, const std::function<void()>& work) {
        const double start = Seconds();
        for (int i = 0; i < calls; ++i) work();
        const double elapsed = (Seconds() - start) / calls;
        Drain();
        return elapsed;
    };
    std::vector<double> unskinnedTimes, rebuildTimes, freshTimes, paintTimes, hoverTimes;
    std::vector<double> rebuildRatios, freshRatios, paintRatios, hoverRatios, hoverFreshRatios;
    for (int r = 0; r < rounds; ++r) {
        const double u = timeCalls(20, [&] { Repaint(plain); });
        const double b = timeCalls(20, [&] { engine.RebuildBackground(form, nullptr, true); });
        const double f = timeCalls(5, [&] {
            ForgetLaidOutLayers(*entry);  // everything laid out and drawn again, as after a size change
            engine.RebuildBackground(form, nullptr, true);
        });
        const double p = timeCalls(20, [&] { Repaint(skinned); });
        const double h = timeCalls(100, [&] {
            // One step of a fade-in of the close button, as the 20 ms timer paints it.
            entry->hoverIn = HoverFade{2, 3};
            entry->hoverOut = HoverFade{};
            entry->mouseTracked = 1;
            entry->timerOn = 1;
            ::SendMessageA(skinned, WM_TIMER, reinterpret_cast<WPARAM>(skinned), 0);
        });
        unskinnedTimes.push_back(u);
        rebuildTimes.push_back(b);
        freshTimes.push_back(f);
        paintTimes.push_back(p);
        hoverTimes.push_back(h);
        rebuildRatios.push_back(b / u);
        freshRatios.push_back(f / u);
        paintRatios.push_back(p / u);
        hoverRatios.push_back(h / b);
        hoverFreshRatios.push_back(h / f);
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double unskinned = median(unskinnedTimes), rebuild = median(rebuildTimes), fresh = median(freshTimes),
                 paint = median(paintTimes), hover = median(hoverTimes);

    // Where a rebuild's time goes.
    const PaintContext context = engine.PaintContextNow();
    const double layoutTime = Median(rounds, 5, [&] {
        GdipGraphics graphics;
        graphics.CreateFromHDC(entry->backgroundDc.Get());
        PaintBackground(graphics, entry->backgroundDc.Get(), *entry, context);
    });
    const double frameTime = Median(rounds, 5, [&] {
        GdipGraphics graphics;
        graphics.CreateFromHDC(entry->backgroundDc.Get());
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        PaintFrame(graphics, *entry);
    });
    const double titleTime = Median(rounds, 20, [&] {
        GdipGraphics graphics;
        graphics.CreateFromHDC(entry->backgroundDc.Get());
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
        PaintTitle(*entry, context, &graphics);
    });
    const double buttonsTime = Median(rounds, 20, [&] {
        GdipGraphics graphics;
        graphics.CreateFromHDC(entry->backgroundDc.Get());
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        for (int i = 1; i <= static_cast<int>(entry->captionButtons.size()); ++i) {
            PaintCaptionButton(*entry, context, i, &graphics, ButtonFace::Normal);
        }
    });
    const std::shared_ptr<const ImagePixels> pixels = DecodeImagePixels(background);
    RECT client{};
    ::GetClientRect(skinned, &client);
    const double stretchTime = Median(rounds, 5, [&] {
        if (pixels) DrawImagePixels(entry->backgroundDc.Get(), client.right, client.bottom, *pixels, 0, 0, client.right,
                                    client.bottom);
    });
    const double deriveTime = Median(3, 1, [&] { DeriveImageColour(background); });
    std::printf("colour derived from the background image: %.1f us\n", deriveTime * 1e6);
    const PaintContext light = engine.PaintContextNow(false);
    const double faceOnly = Median(rounds, 100, [&] {
        entry->hoverFaces.clear();  // painted, not copied from the kept faces
        PaintCaptionButton(*entry, light, 2, nullptr, ButtonFace::Hover, 120);
    });
    const double copyOnly = Median(rounds, 100, [&] {
        RECT part{450, 0, 492, 20};
        CopyBackgroundToWindow(*entry, &part);
    });
    const double graphicsOnly = Median(rounds, 100, [&] {
        GdipGraphics graphics;
        graphics.CreateFromHDC(entry->backgroundDc.Get());
    });
    std::printf("hover face painted (not yet kept) and shown %.1f us, of which showing %.1f us, a graphics %.1f us\n",
                faceOnly * 1e6, copyOnly * 1e6, graphicsOnly * 1e6);
    std::printf("parts of a rebuild from nothing: image laid out %.1f us (its stretch %.1f us), frame %.1f us,"
                " title %.1f us, caption buttons %.1f us\n",
                layoutTime * 1e6, stretchTime * 1e6, frameTime * 1e6, titleTime * 1e6, buttonsTime * 1e6);
    std::printf("unskinned WM_PAINT (system look):    %8.1f us\n", unskinned * 1e6);
    // Most rebuilds follow a size change or a new image: everything is laid
    // out and drawn again. This is the figure the target is for.
    std::printf("full RebuildBackground from nothing: %8.1f us  = %5.2f x unskinned paint (target <= 5)\n",
                fresh * 1e6, median(freshRatios));
    std::printf("  same size and look, layers reused: %8.1f us  = %5.2f x unskinned paint\n", rebuild * 1e6,
                median(rebuildRatios));
    std::printf("skinned WM_PAINT:                    %8.1f us  = %5.2f x unskinned paint (target <= 1.5)\n",
                paint * 1e6, median(paintRatios));
    std::printf("hover-fade frame:                    %8.1f us  = %5.3f x full rebuild from nothing (target <= 0.1),"
                " %5.3f x a rebuild reusing its layers\n",
                hover * 1e6, median(hoverFreshRatios), median(hoverRatios));
    ::DestroyWindow(skinned);
    ::DestroyWindow(plain);
    return 0;
}
