#pragma once

#include <QLineEdit>

namespace quorvane {

class Theme;

// A one-line text field of the windows: as tall as the push buttons beside
// it (the application style sizes it so), its text centred on that height,
// and a placeholder clearly dimmer than typed text in both schemes (the
// palette's placeholder colour is the secondary text colour of labels,
// too bright for an empty field in dark). Follows the theme while it lives.
// A screen reader hears it focused before its caret moves (see
// focusInEvent()).
class TextField : public QLineEdit {
    Q_OBJECT

  public:
    explicit TextField(Theme& theme, QWidget* parent = nullptr);

  protected:
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

  private:
    void restyle();
    void centreText();

    Theme& theme_;
};

}  // namespace quorvane
