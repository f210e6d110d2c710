#pragma once

#include <QWidget>
#include <vector>

class QAbstractButton;
class QButtonGroup;

namespace quorvane {

class Theme;

// A segmented picker: a rounded track holding one segment per choice, the
// chosen one raised as an accent chip with an accent edge and strong text,
// the others plain muted text on the track, in either scheme. Exactly one
// segment is chosen once setSelected() ran; setSelected() shows a value
// without reporting it, only a click emits picked(). The segments take the
// callout type of the theme and follow its changes.
class SegmentedPicker : public QWidget {
    Q_OBJECT

  public:
    SegmentedPicker(Theme& theme, const std::vector<QString>& labels, const QString& accessibleName,
                    QWidget* parent = nullptr);

    int selected() const;
    void setSelected(int index);
    QAbstractButton* segment(int index) const;
    int count() const;

  signals:
    void picked(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Theme& theme_;
    QButtonGroup* group_ = nullptr;
};

}  // namespace quorvane
