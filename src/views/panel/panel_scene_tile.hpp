#pragma once

#include <QAbstractButton>

class QLabel;

namespace quorvane {

class ShrinkingLabel;
class Theme;

// One work-mode tile of the panel's strip: the mode's name centred on one
// line (shrinking to 80 % before it is cut) over its kind, "기본" or "사용자".
class PanelSceneTile : public QAbstractButton {
    Q_OBJECT

  public:
    PanelSceneTile(Theme& theme, const QString& name, const QString& kindCaption,
                   QWidget* parent = nullptr);

    // A changed name or kind, in place.
    void setTexts(const QString& name, const QString& kindCaption);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void restyle();

    Theme& theme_;
    ShrinkingLabel* name_ = nullptr;
    QLabel* caption_ = nullptr;
};

}  // namespace quorvane
