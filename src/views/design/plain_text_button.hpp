#pragma once

#include <QAbstractButton>

namespace quorvane {

class Theme;

// A borderless button drawn as its title alone and as wide as its title: in
// the accent while it can be pressed and in the dimmed secondary ink while it
// cannot, so an action that would do nothing never looks like one. Keyboard
// focus and a press lay a faint wash under the title. Screen readers hear a
// push button named by its title.
//
// Usage:
//   auto* reset = new PlainTextButton(theme, QStringLiteral("기본"), parent);
//   connect(reset, &QAbstractButton::clicked, this, &Editor::reset);
//   reset->setEnabled(!neutral);
class PlainTextButton : public QAbstractButton {
    Q_OBJECT

  public:
    PlainTextButton(Theme& theme, const QString& title, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    Theme& theme_;
};

}  // namespace quorvane
