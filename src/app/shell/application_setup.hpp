#pragma once

#include <QTranslator>
#include <memory>

class QApplication;

namespace quorvane {

// What the program sets on its Qt application object right after making it:
// how each widget reads to a screen reader, Qt's own texts (a file dialog's
// labels, a message box's buttons) in Korean while this object lives, the
// program's names, that closing the last window leaves it in the tray, and
// the style the theme's palette is drawn in. Keep it for the program's life.
//
// Usage:
//   quorvane::installApplicationAccessible();
//   QApplication application(argc, argv);
//   const quorvane::ApplicationSetup setup(application);
class ApplicationSetup {
  public:
    explicit ApplicationSetup(QApplication& application);

  private:
    std::unique_ptr<QTranslator> qtTexts_;
};

}  // namespace quorvane
