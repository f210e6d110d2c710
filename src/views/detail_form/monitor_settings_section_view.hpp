#pragma once

#include <map>

#include <QPointer>

#include "presentation/detail_form/monitor_settings_section.hpp"
#include "views/detail_form/detail_page.hpp"

class QPushButton;
class QVBoxLayout;

namespace quorvane {

class DDCBadgeView;
class MonitorSliderRowView;
class SliderRowGroup;
class SoftwareSliderRowView;
class WrappingLabel;

// The monitor-settings page ("모니터 자체 설정"). Rows exist only for what
// the display offers: the system brightness of a panel that has one, and
// each monitor control that answered the last probe; they are disabled as a
// whole while the display is busy. Every write commits once, at the end of
// a drag, on a nudge or on choosing an input.
class MonitorSettingsSectionView : public DetailPage {
    Q_OBJECT

  public:
    explicit MonitorSettingsSectionView(DetailFormContext& context, QWidget* parent = nullptr);

    void refresh(const DisplaySnapshot& display) override;

  private:
    QWidget* makeStatusRow();
    QWidget* makeInputRow();
    void updateSystemBrightness(const MonitorSettingsSection& model);
    void updateMonitorRows(const MonitorSettingsSection& model);
    void updateInput(const MonitorSettingsSection& model);

    DetailFormContext& context_;
    DisplayID displayID_ = 0;
    QWidget* syncNote_ = nullptr;
    DDCBadgeView* badge_ = nullptr;
    QPushButton* probeButton_ = nullptr;
    // A check the user started here, whose outcome is yet to be heard.
    bool probeAwaited_ = false;
    WrappingLabel* statusNote_ = nullptr;
    QVBoxLayout* brightnessSlot_ = nullptr;
    QPointer<SoftwareSliderRowView> brightnessRow_;
    QVBoxLayout* monitorSlot_ = nullptr;
    std::map<DDCVCPCode, QPointer<MonitorSliderRowView>> monitorRows_;
    QPointer<SliderRowGroup> monitorColumn_;
    QWidget* inputRow_ = nullptr;
    QPushButton* inputMenu_ = nullptr;
    QWidget* inputWarning_ = nullptr;
};

}  // namespace quorvane
