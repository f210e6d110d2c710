#pragma once

#include <QObject>
#include <QVariant>
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

    // The portal's answer, which arrives wrapped in one or two variants
    // depending on the portal's version; none for anything not a number.
    static std::optional<std::uint32_t> schemeValue(const QVariant& reply);

  signals:
    void schemeChanged(quorvane::ColorScheme scheme);

  protected:
    // Without a portal preference the platform palette decides; follow it.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private slots:
    void onSettingChanged(const QString& group, const QString& key, const QDBusVariant& value);

  private:
    void onReadFinished(QDBusPendingCallWatcher* call);
    void update(std::optional<std::uint32_t> portalValue);

    std::optional<std::uint32_t> portalValue_;
    ColorScheme scheme_ = ColorScheme::light;
};

}  // namespace quorvane
