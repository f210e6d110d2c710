#include "platform/linux/display_manager.hpp"

#include <algorithm>
#include <cmath>

#include "models/display/display_control_error.hpp"
#include "platform/linux/edid.hpp"
#include "platform/linux/randr_screen.hpp"
#include "platform/linux/shared_x_connection.hpp"

namespace quorvane {
namespace {

constexpr double kRefreshTolerance = 0.01;
// X's BadValue: a size the screen cannot take.
constexpr std::int32_t kBadValue = 2;

bool sameModeFields(const DisplayModeDescription& a, const DisplayModeDescription& b) {
    return a.ioDisplayModeID == b.ioDisplayModeID && a.width == b.width && a.height == b.height &&
           a.pixelWidth == b.pixelWidth && a.pixelHeight == b.pixelHeight &&
           std::fabs(a.refreshRate - b.refreshRate) < kRefreshTolerance;
}

DisplayModeDescription describeSnapshot(const DisplayModeSnapshot& mode) {
    return DisplayModeDescription{mode.ioDisplayModeID, mode.width,       mode.height,
                                  mode.pixelWidth,      mode.pixelHeight, mode.refreshRate};
}

bool swapsAxes(std::uint16_t rotation) {
    return (rotation & (RR_Rotate_90 | RR_Rotate_270)) != 0;
}

}  // namespace

DisplayManager::DisplayManager(std::string displayName)
    : DisplayManager(std::make_shared<SharedXConnection>(std::move(displayName))) {}

DisplayManager::DisplayManager(std::shared_ptr<SharedXConnection> connection)
    : connection_(std::move(connection)) {}

DisplayModeDescription DisplayManager::describe(const RandrMode& mode) {
    // X has no point/pixel distinction: points are pixels.
    auto width = static_cast<int>(mode.width);
    auto height = static_cast<int>(mode.height);
    return DisplayModeDescription{
        static_cast<std::int32_t>(mode.id), width, height, width, height, mode.refreshRate};
}

bool DisplayManager::modeMatches(const DisplayModeDescription& systemMode,
                                 const DisplayModeDescription& wanted) {
    return sameModeFields(systemMode, wanted);
}

std::vector<DisplayModeSnapshot> DisplayManager::orderedModes(
    const std::vector<DisplayModeDescription>& systemModes,
    const std::optional<DisplayModeDescription>& current) {
    std::vector<DisplayModeSnapshot> kept;
    for (const auto& mode : systemModes) {
        bool isCurrent = current && sameModeFields(mode, *current);
        auto snapshot = DisplayModeSnapshot::make(mode, isCurrent);
        bool seen = std::any_of(kept.begin(), kept.end(), [&](const DisplayModeSnapshot& other) {
            return other.id == snapshot.id;
        });
        if (!seen) {
            kept.push_back(std::move(snapshot));
        }
    }
    std::stable_sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) {
        if (a.pixelWidth != b.pixelWidth) {
            return a.pixelWidth > b.pixelWidth;
        }
        if (a.pixelHeight != b.pixelHeight) {
            return a.pixelHeight > b.pixelHeight;
        }
        return a.refreshRate > b.refreshRate;
    });
    return kept;
}

std::optional<XResourceID> DisplayManager::mainOutput(const std::vector<RandrOutput>& outputs) {
    for (const auto& output : outputs) {
        if (output.isPrimary) {
            return output.id;
        }
    }
    for (const auto& output : outputs) {
        if (output.x == 0 && output.y == 0) {
            return output.id;
        }
    }
    return std::nullopt;
}

DisplaySnapshot DisplayManager::makeSnapshot(const RandrOutput& output, bool isMain,
                                             const DisplaySnapshotRequest& request,
                                             BrightnessControlling& brightnessController) {
    DisplaySnapshot snapshot;
    snapshot.id = static_cast<DisplayID>(output.id);
    if (request.includeModes) {
        std::optional<DisplayModeDescription> current;
        if (output.currentMode) {
            current = describe(*output.currentMode);
            snapshot.currentMode = DisplayModeSnapshot::make(*current, true);
        }
        std::vector<DisplayModeDescription> listed;
        for (const auto& mode : output.modes) {
            listed.push_back(describe(mode));
        }
        snapshot.modes = orderedModes(listed, current);
    }
    snapshot.isBuiltin = output.isBuiltin();
    snapshot.name = snapshot.isBuiltin ? std::string("Built-in Display")
                                       : "Display " + std::to_string(snapshot.id);
    if (auto named = request.screenNamesByDisplayID.find(snapshot.id);
        named != request.screenNamesByDisplayID.end()) {
        snapshot.name = named->second;
    }
    if (auto edid = Edid::parse(output.edid)) {
        snapshot.vendorNumber = edid->vendorNumber;
        snapshot.modelNumber = edid->modelNumber;
        snapshot.serialNumber = edid->serialNumber;
    }
    snapshot.isMain = isMain;
    snapshot.bounds =
        DisplayRect{static_cast<double>(output.x), static_cast<double>(output.y),
                    static_cast<double>(output.width), static_cast<double>(output.height)};
    if (request.includeHardwareBrightness) {
        snapshot.hardwareBrightness = brightnessController.readBrightness(snapshot.id);
    }
    return snapshot;
}

std::vector<DisplaySnapshot> DisplayManager::activeDisplays(
    BrightnessControlling& brightnessController, const DisplaySnapshotRequest& request) {
    std::vector<RandrOutput> outputs;
    // A connection that broke is told apart from a server never reached:
    // the command line's hint to check $DISPLAY fits only the latter.
    const auto unreachable = [&request](DisplayControlError error) {
        if (request.failWhenUnreachable) {
            throw error;
        }
        return std::vector<DisplaySnapshot>{};
    };
    {
        auto lease = connection_->lease();
        if (!lease) {
            return unreachable(connection_->lostForGood()
                                   ? DisplayControlError::displayServerLost()
                                   : DisplayControlError::displayServerUnreachable());
        }
        // Only full reads ask the server to probe for newly plugged monitors.
        auto probe = request.includeModes ? RandrScreen::Probe::probe : RandrScreen::Probe::cached;
        auto screen = RandrScreen::read(lease->connection(), probe);
        if (lease->connection().lost()) {
            return unreachable(DisplayControlError::displayServerLost());
        }
        if (!screen) {
            return {};
        }
        outputs = screen->activeOutputs(request.includeModes);
        if (lease->connection().lost()) {
            return unreachable(DisplayControlError::displayServerLost());
        }
        lease->cache().clear();
        auto& remembered = lease->cache().activeOutputs.emplace(outputs);
        for (auto& output : remembered) {
            output.currentMode.reset();
            output.modes.clear();
        }
    }
    // The brightness read may ask the connection again: the lease is
    // given back first.
    auto main = mainOutput(outputs);
    std::vector<DisplaySnapshot> snapshots;
    snapshots.reserve(outputs.size());
    for (const auto& output : outputs) {
        snapshots.push_back(makeSnapshot(output, main == output.id, request, brightnessController));
    }
    return snapshots;
}

ScreenNames DisplayManager::screenNamesByDisplayID() {
    ScreenNames names;
    auto lease = connection_->lease();
    if (!lease) {
        // The displays just read cannot be named: a command whose
        // connection broke ends rather than show them unnamed.
        if (connection_->lostForGood())
            throw DisplayControlError::displayServerLost();
        return names;
    }
    for (const auto& output : lease->activeOutputs()) {
        auto edid = Edid::parse(output.edid);
        names[static_cast<DisplayID>(output.id)] =
            edid && edid->monitorName ? *edid->monitorName : output.name;
    }
    return names;
}

void DisplayManager::setMode(const DisplayModeSnapshot& mode, DisplayID displayID) {
    auto lease = connection_->lease();
    if (!lease) {
        throw DisplayControlError::coreGraphics(kXServerUnreachableCode);
    }
    // The mode switch changes the screen: what is remembered of it goes.
    lease->cache().clear();
    XConnection* connection = &lease->connection();
    auto screen = RandrScreen::read(*connection, RandrScreen::Probe::cached);
    if (!screen) {
        throw DisplayControlError::modeNotFound();
    }
    auto outputs = screen->activeOutputs(true);
    connection->sync();
    // What follows are Xlib's requests, which a connection XCB found lost
    // cannot make.
    if (connection->lost()) {
        throw DisplayControlError::coreGraphics(kXServerUnreachableCode);
    }
    auto target = std::find_if(outputs.begin(), outputs.end(),
                               [&](const RandrOutput& output) { return output.id == displayID; });
    if (target == outputs.end()) {
        throw DisplayControlError::modeNotFound();
    }
    auto wanted = describeSnapshot(mode);
    auto found = std::find_if(
        target->modes.begin(), target->modes.end(),
        [&](const RandrMode& listed) { return modeMatches(describe(listed), wanted); });
    if (found == target->modes.end()) {
        throw DisplayControlError::modeNotFound();
    }

    // The screen must hold every CRTC's rectangle; grow it first when the new
    // mode reaches past its edge.
    unsigned newWidth = swapsAxes(target->rotation) ? found->height : found->width;
    unsigned newHeight = swapsAxes(target->rotation) ? found->width : found->height;
    long requiredWidth = target->x + static_cast<long>(newWidth);
    long requiredHeight = target->y + static_cast<long>(newHeight);
    for (const auto& other : outputs) {
        if (other.crtc != target->crtc) {
            requiredWidth = std::max(requiredWidth, other.x + static_cast<long>(other.width));
            requiredHeight = std::max(requiredHeight, other.y + static_cast<long>(other.height));
        }
    }
    Display* display = connection->display();
    int screenNumber = DefaultScreen(display);
    int currentWidth = DisplayWidth(display, screenNumber);
    int currentHeight = DisplayHeight(display, screenNumber);
    bool grows = requiredWidth > currentWidth || requiredHeight > currentHeight;
    if (grows) {
        int minWidth = 0;
        int minHeight = 0;
        int maxWidth = 0;
        int maxHeight = 0;
        XRRGetScreenSizeRange(display, connection->root(), &minWidth, &minHeight, &maxWidth,
                              &maxHeight);
        int width = static_cast<int>(std::max<long>(requiredWidth, currentWidth));
        int height = static_cast<int>(std::max<long>(requiredHeight, currentHeight));
        if (width > maxWidth || height > maxHeight) {
            throw DisplayControlError::coreGraphics(kBadValue);
        }
        // Keep the screen's physical density as it is.
        int widthMM = DisplayWidthMM(display, screenNumber);
        int heightMM = DisplayHeightMM(display, screenNumber);
        int newWidthMM =
            currentWidth > 0
                ? static_cast<int>(std::lround(static_cast<double>(widthMM) * width / currentWidth))
                : widthMM;
        int newHeightMM = currentHeight > 0
                              ? static_cast<int>(std::lround(static_cast<double>(heightMM) *
                                                             height / currentHeight))
                              : heightMM;
        XRRSetScreenSize(display, connection->root(), width, height, newWidthMM, newHeightMM);
        if (auto error = connection->sync()) {
            throw DisplayControlError::coreGraphics(error->errorCode);
        }
    }

    std::unique_ptr<XRRCrtcInfo, void (*)(XRRCrtcInfo*)> crtc(
        XRRGetCrtcInfo(display, screen->resources(), target->crtc), XRRFreeCrtcInfo);
    if (auto error = connection->sync(); error || !crtc) {
        throw DisplayControlError::coreGraphics(error ? error->errorCode : kBadValue);
    }
    Status status =
        XRRSetCrtcConfig(display, screen->resources(), target->crtc, CurrentTime, crtc->x, crtc->y,
                         found->id, crtc->rotation, crtc->outputs, crtc->noutput);
    auto error = connection->sync();
    if (status != RRSetConfigSuccess || error) {
        if (grows) {
            // Give the screen its old size back; what it holds is unchanged.
            XRRSetScreenSize(display, connection->root(), currentWidth, currentHeight,
                             DisplayWidthMM(display, screenNumber),
                             DisplayHeightMM(display, screenNumber));
            connection->sync();
        }
        throw DisplayControlError::coreGraphics(error ? error->errorCode
                                                      : static_cast<std::int32_t>(status));
    }
}

}  // namespace quorvane
