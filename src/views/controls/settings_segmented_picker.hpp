#pragma once

#include <QWidget>
#include <vector>

class QButtonGroup;
class QAbstractButton;

namespace quorvane {

class Theme;

// A row of mutually exclusive segments, one of them selected. setSelected()
// shows a value without reporting it; only a click emits picked().
class SettingsSegmentedPicker : public QWidget {
    Q_OBJECT

  public:
    SettingsSegmentedPicker(Theme& theme, const std::vector<QString>& labels,
                            const QString& accessibleName, QWidget* parent = nullptr);

    int selected() const;
    void setSelected(int index);
    QAbstractButton* segment(int index) const;

  signals:
    void picked(int index);

  private:
    QButtonGroup* group_ = nullptr;
};

}  // namespace quorvane
