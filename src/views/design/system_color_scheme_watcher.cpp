#include "views/design/system_color_scheme_watcher.hpp"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QEvent>
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

std::optional<int> paletteLightness() {
    if (!qGuiApp)
        return std::nullopt;
    return QGuiApplication::palette().color(QPalette::Window).lightness();
}

}  // namespace

std::optional<std::uint32_t> SystemColorSchemeWatcher::schemeValue(const QVariant& reply) {
    QVariant value = reply;
    while (value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    // Only unsigned 32-bit numbers: a text such as "dark" is no answer.
    if (value.userType() != QMetaType::UInt && value.userType() != QMetaType::Int)
        return std::nullopt;
    bool ok = false;
    const uint number = value.toUInt(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

SystemColorSchemeWatcher::SystemColorSchemeWatcher(QObject* parent) : QObject(parent) {
    scheme_ = systemSchemeFrom(std::nullopt, paletteLightness());
    if (qGuiApp)
        qGuiApp->installEventFilter(this);
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
    update(schemeValue(reply.value()));
}

void SystemColorSchemeWatcher::onSettingChanged(const QString& group, const QString& key,
                                                const QDBusVariant& value) {
    if (group != kAppearanceGroup || key != kColorSchemeKey)
        return;
    update(schemeValue(value.variant()));
}

bool SystemColorSchemeWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qGuiApp && event->type() == QEvent::ApplicationPaletteChange)
        update(portalValue_);
    return QObject::eventFilter(watched, event);
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
