#pragma once

#include <QObject>
#include <cstdint>
#include <optional>

#include "presentation/design/color_role.hpp"

class QDBusPendingCallWatcher;
class QDBusVariant;

namespace quorvane {

// Follows the desktop's light/dark preference for the "system" appearance.
// Qt 6.4 cannot tell, so the preference is read from the freedesktop settings
// portal (org.freedesktop.appearance color-scheme) without blocking start-up,
// and its SettingChanged signal is followed. Without a portal answer the
// platform palette's lightness decides; unknown counts as light.
class SystemColorSchemeWatcher : public QObject {
    Q_OBJECT

  public:
    explicit SystemColorSchemeWatcher(QObject* parent = nullptr);

    ColorScheme scheme() const { return scheme_; }

  signals:
    void schemeChanged(quorvane::ColorScheme scheme);

  private slots:
    void onSettingChanged(const QString& group, const QString& key, const QDBusVariant& value);

  private:
    void onReadFinished(QDBusPendingCallWatcher* call);
    void update(std::optional<std::uint32_t> portalValue);

    std::optional<std::uint32_t> portalValue_;
    ColorScheme scheme_ = ColorScheme::light;
};

}  // namespace quorvane
