#pragma once

// Qt's offscreen platform keeps accessibility switched off, and Qt offers no
// public way to switch it on: Qt then neither builds a widget's interface
// when something about it is announced nor passes any announcement on. A
// screen reader switches it on for the whole session (as
// QT_LINUX_ACCESSIBILITY_ALWAYS_ON does), which is what these tests need to
// see. The two entry points below are QtGui's own (exported for its
// platform plugins); the offscreen platform uses the base integration's
// accessibility object, so calling it by name reaches the one Qt asks.

#include <QAccessible>

class QPlatformAccessibility {
  public:
    void setActive(bool active);
};

class QPlatformIntegration {
  public:
    QPlatformAccessibility* accessibility() const;
};

class QGuiApplicationPrivate {
  public:
    static QPlatformIntegration* platform_integration;
};

namespace quorvane::testing {

// Accessibility live for the lifetime of the object, as under a screen
// reader; off again afterwards.
class LiveAccessibility {
  public:
    LiveAccessibility() { setActive(true); }
    ~LiveAccessibility() { setActive(false); }
    LiveAccessibility(const LiveAccessibility&) = delete;
    LiveAccessibility& operator=(const LiveAccessibility&) = delete;

  private:
    static void setActive(bool active) {
        if (QPlatformIntegration* integration = QGuiApplicationPrivate::platform_integration)
            if (QPlatformAccessibility* accessibility =
                    integration->QPlatformIntegration::accessibility())
                accessibility->setActive(active);
    }
};

}  // namespace quorvane::testing
