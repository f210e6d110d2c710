#include "views/design/qt_translation.hpp"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace quorvane {

namespace {

// Qt's widgets, dialogs and message boxes; the language is the program's,
// not the session's.
constexpr auto kQtBaseKorean = "qtbase_ko";

}  // namespace

std::unique_ptr<QTranslator> installQtTranslation() {
    return installQtTranslation(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

std::unique_ptr<QTranslator> installQtTranslation(const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QString::fromLatin1(kQtBaseKorean), folder))
        return nullptr;
    if (!QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    return translator;
}

}  // namespace quorvane
