#include "views/design/system_color_scheme_watcher.hpp"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QPalette>

#include "presentation/design/system_scheme.hpp"

namespace quorvane {

namespace {

const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kSettingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString kAppearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString kColorSchemeKey = QStringLiteral("color-scheme");
// A portal that does not answer quickly is treated as absent.
constexpr int kReadTimeoutMs = 2000;

// The portal wraps the value in one or two variants depending on its version.
std::optional<std::uint32_t> unwrapSchemeValue(QVariant value) {
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    bool ok = false;
    const uint number = value.toUInt(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

std::optional<int> paletteLightness() {
    if (!qGuiApp)
        return std::nullopt;
    return QGuiApplication::palette().color(QPalette::Window).lightness();
}

}  // namespace

SystemColorSchemeWatcher::SystemColorSchemeWatcher(QObject* parent) : QObject(parent) {
    scheme_ = systemSchemeFrom(std::nullopt, paletteLightness());
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(kPortalService, kPortalPath, kSettingsInterface, QStringLiteral("SettingChanged"),
                this, SLOT(onSettingChanged(QString, QString, QDBusVariant)));
    QDBusMessage read = QDBusMessage::createMethodCall(kPortalService, kPortalPath,
                                                       kSettingsInterface, QStringLiteral("Read"));
    read << kAppearanceGroup << kColorSchemeKey;
    auto* call = new QDBusPendingCallWatcher(bus.asyncCall(read, kReadTimeoutMs), this);
    connect(call, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) { onReadFinished(finished); });
}

void SystemColorSchemeWatcher::onReadFinished(QDBusPendingCallWatcher* call) {
    call->deleteLater();
    QDBusPendingReply<QVariant> reply = *call;
    if (reply.isError())
        return;
    update(unwrapSchemeValue(reply.value()));
}

void SystemColorSchemeWatcher::onSettingChanged(const QString& group, const QString& key,
                                                const QDBusVariant& value) {
    if (group != kAppearanceGroup || key != kColorSchemeKey)
        return;
    update(unwrapSchemeValue(value.variant()));
}

void SystemColorSchemeWatcher::update(std::optional<std::uint32_t> portalValue) {
    portalValue_ = portalValue;
    const ColorScheme next = systemSchemeFrom(portalValue_, paletteLightness());
    if (next == scheme_)
        return;
    scheme_ = next;
    emit schemeChanged(scheme_);
}

}  // namespace quorvane
