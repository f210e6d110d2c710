#pragma once

#include <QString>
#include <QTranslator>
#include <memory>

namespace quorvane {

// Qt's own texts (the file dialog's "File name:", a message box's "No", the
// edit fields' context menu) in Korean, like every text of the program,
// whatever language the session runs in. They come from the Qt translations
// the distribution installs; without them Qt's English stays and nothing
// else changes. Installed on the application while the returned translator
// lives (none when the translations are missing):
//   QApplication application(argc, argv);
//   const auto qtTexts = quorvane::installQtTranslation();
std::unique_ptr<QTranslator> installQtTranslation();

// The same from another folder (tests give one without the file).
std::unique_ptr<QTranslator> installQtTranslation(const QString& folder);

}  // namespace quorvane
