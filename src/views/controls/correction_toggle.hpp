#pragma once

#include <QWidget>

class QCheckBox;

namespace quorvane {

class DisplayStore;
class Theme;
class WrappingLabel;
struct ViewContext;

// The switch deciding whether the software colour correction is shown on the
// screens at all, with a line saying what the current state means. It shows
// the store's flag and changes it only through
// DisplayStore::setSoftwareColorCorrectionEnabled (which saves, re-applies or
// neutralises and reports); turning it off keeps every saved value.
class CorrectionToggle : public QWidget {
    Q_OBJECT

  public:
    CorrectionToggle(ViewContext& context, bool compact, QWidget* parent = nullptr);

    void refresh();
    QCheckBox* toggle() const { return toggle_; }
    QString stateLine() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    DisplayStore& store_;
    Theme& theme_;
    bool compact_;
    QCheckBox* toggle_;
    WrappingLabel* state_;
};

}  // namespace quorvane
