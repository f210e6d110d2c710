// Qt's own texts (file dialogs, message-box buttons) read in Korean once the
// distribution's Qt translations are installed; without them nothing fails.

#include "views/design/qt_translation.hpp"
#include "app/shell/application_setup.hpp"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTemporaryDir>

namespace quorvane {
namespace {

bool qtKoreanInstalled() {
    return QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath)).exists("qtbase_ko.qm");
}

// What a screen reader says for a widget.
QString spokenName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

// The file-name label of Qt's own (non-native) save dialog, as heard.
QString fileNameLabel() {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("fileNameLabel"));
    return label ? spokenName(label) : QStringLiteral("no label");
}

QString noButton() {
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("q"),
                    QMessageBox::Yes | QMessageBox::No);
    return spokenName(box.button(QMessageBox::No));
}

TEST(QtTranslation, QtsOwnDialogTextsReadKoreanWhileInstalled) {
    if (!qtKoreanInstalled())
        GTEST_SKIP() << "qtbase_ko.qm is not installed (package qt6-translations-l10n)";
    EXPECT_EQ(fileNameLabel(), QStringLiteral("File name:"));
    {
        const auto translation = installQtTranslation();
        ASSERT_NE(translation, nullptr);
        EXPECT_EQ(fileNameLabel(), QStringLiteral("파일 이름(N):"));
        EXPECT_EQ(noButton(), QStringLiteral("아니요(N)"));
    }
    // Gone with the translator.
    EXPECT_EQ(noButton(), QStringLiteral("No"));
}

TEST(QtTranslation, WithoutTheTranslationsQtStaysEnglishAndNothingFails) {
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    EXPECT_EQ(installQtTranslation(empty.path()), nullptr);
    EXPECT_EQ(noButton(), QStringLiteral("No"));
}

// The running program reads Qt's dialogs in Korean: the set-up its start
// makes on the application object installs the translation and keeps it.
TEST(QtTranslation, TheProgramsStartReadsQtsDialogsInKorean) {
    if (!qtKoreanInstalled())
        GTEST_SKIP() << "qtbase_ko.qm is not installed (package qt6-translations-l10n)";
    const ApplicationSetup started(*qApp);
    EXPECT_EQ(noButton(), QStringLiteral("아니요(N)"));
    EXPECT_EQ(fileNameLabel(), QStringLiteral("파일 이름(N):"));
}

}  // namespace
}  // namespace quorvane
