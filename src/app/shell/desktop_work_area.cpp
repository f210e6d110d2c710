#include "app/shell/desktop_work_area.hpp"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "presentation/shell/window_output.hpp"
#include "presentation/shell/work_area.hpp"

// After Qt's headers: Xlib's macros (Status, Bool) break them.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace quorvane {

namespace {

template <typename T, auto Free>
struct XFreer {
    void operator()(T* pointer) const { Free(pointer); }
};
using ScreenResources =
    std::unique_ptr<XRRScreenResources, XFreer<XRRScreenResources, XRRFreeScreenResources>>;
using OutputInfo = std::unique_ptr<XRROutputInfo, XFreer<XRROutputInfo, XRRFreeOutputInfo>>;
using CrtcInfo = std::unique_ptr<XRRCrtcInfo, XFreer<XRRCrtcInfo, XRRFreeCrtcInfo>>;

Display* qtDisplay() {
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

// A property of 32-bit values (windows or cardinals), as longs.
std::vector<long> longsOf(Display* display, Window window, const char* name, Atom type) {
    Atom actual = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::vector<long> values;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 4096, False, type,
                           &actual, &format, &count, &remaining, &data) == Success &&
        data && format == 32 && actual == type) {
        const auto* longs = reinterpret_cast<const long*>(data);
        values.assign(longs, longs + count);
    }
    if (data)
        XFree(data);
    return values;
}

// The outputs that show part of the screen, by name, in device pixels.
struct LitOutput {
    QString name;
    ScreenRect place;
};

std::vector<LitOutput> litOutputs(Display* display, Window root) {
    std::vector<LitOutput> outputs;
    const ScreenResources resources(XRRGetScreenResourcesCurrent(display, root));
    if (!resources)
        return outputs;
    for (int index = 0; index < resources->noutput; ++index) {
        const OutputInfo info(
            XRRGetOutputInfo(display, resources.get(), resources->outputs[index]));
        if (!info || !info->crtc)
            continue;
        const CrtcInfo crtc(XRRGetCrtcInfo(display, resources.get(), info->crtc));
        if (!crtc)
            continue;
        outputs.push_back(
            {QString::fromLatin1(info->name, info->nameLen),
             {crtc->x, crtc->y, static_cast<int>(crtc->width), static_cast<int>(crtc->height)}});
    }
    return outputs;
}

// Where the output Qt calls `name` stands, and how far right and down the
// lit outputs reach, in device pixels.
struct OutputPlaces {
    std::optional<ScreenRect> named;
    FrameSize span;
};

OutputPlaces outputPlaces(Display* display, Window root, const QString& name) {
    OutputPlaces places;
    for (const auto& [outputName, place] : litOutputs(display, root)) {
        places.span = {std::max(places.span.width, place.x + place.width),
                       std::max(places.span.height, place.y + place.height)};
        if (outputName == name)
            places.named = place;
    }
    return places;
}

// The struts of every window the window manager manages (docks are among
// them); none without a window manager.
std::vector<WindowStrut> strutsOn(Display* display, Window root, FrameSize span) {
    std::vector<WindowStrut> struts;
    for (const long client : longsOf(display, root, "_NET_CLIENT_LIST", XA_WINDOW)) {
        const auto window = static_cast<Window>(client);
        auto values = longsOf(display, window, "_NET_WM_STRUT_PARTIAL", XA_CARDINAL);
        if (values.size() < 12)
            values = longsOf(display, window, "_NET_WM_STRUT", XA_CARDINAL);
        if (!values.empty())
            struts.push_back(windowStrut(values, span));
    }
    return struts;
}

const QScreen* screenNamed(const QString& name) {
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->name() == name)
            return screen;
    return nullptr;
}

ScreenRect qtAvailable(const QScreen* screen) {
    const QRect area = screen->availableGeometry();
    return {area.x(), area.y(), area.width(), area.height()};
}

}  // namespace

ScreenRect desktopWorkArea(const QScreen* screen) {
    if (!screen)
        return {0, 0, 1024, 768};
    Display* display = qtDisplay();
    if (!display)
        return qtAvailable(screen);
    const Window root = DefaultRootWindow(display);
    const auto places = outputPlaces(display, root, screen->name());
    if (!places.named)
        return qtAvailable(screen);
    const auto area =
        outputWorkArea(*places.named, places.span, strutsOn(display, root, places.span));
    const auto& output = *places.named;
    const QRect logical = screen->geometry();
    return logicalWorkArea(area, output,
                           {logical.x(), logical.y(), logical.width(), logical.height()});
}

std::optional<ScreenRect> serverPlaceOf(const QWidget* window) {
    Display* display = qtDisplay();
    const QWindow* handle = window->windowHandle();
    if (!display || !handle)
        return std::nullopt;
    const Window root = DefaultRootWindow(display);
    int x = 0;
    int y = 0;
    Window child = None;
    if (!XTranslateCoordinates(display, static_cast<Window>(handle->winId()), root, 0, 0, &x, &y,
                               &child))
        return std::nullopt;
    const double scale = handle->devicePixelRatio();
    const ScreenRect native{x, y, static_cast<int>(window->width() * scale),
                            static_cast<int>(window->height() * scale)};
    for (const auto& [name, place] : litOutputs(display, root)) {
        const QScreen* screen = screenNamed(name);
        if (!screen || !standsInside({x, y, 1, 1}, place))
            continue;
        const QRect logical = screen->geometry();
        return logicalPlace(native, place,
                            {logical.x(), logical.y(), logical.width(), logical.height()});
    }
    return std::nullopt;
}

}  // namespace quorvane
