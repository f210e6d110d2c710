#include "views/settings/diagnostic_report_sheet.hpp"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "presentation/settings/diagnostic_report_actions.hpp"
#include "presentation/settings/settings_window_layout.hpp"
#include "views/access/spoken_text.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/text_size_refit.hpp"
#include "views/design/theme.hpp"
#include "views/design/themed_text.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

namespace {

constexpr int kTextMinimumWidth = 640;
constexpr int kTextMinimumHeight = 360;
// Still a few lines of the report on the lowest screen.
constexpr int kTextLeastHeight = 120;

std::optional<double> screenVisibleHeight(const QWidget* widget) {
    const QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    return screen->availableGeometry().height();
}

}  // namespace

DiagnosticReportSheet::DiagnosticReportSheet(Theme& theme,
                                             const QuorvaneDiagnosticReportPreview& preview,
                                             QWidget* parent)
    : QDialog(parent), theme_(theme), preview_(preview) {
    const auto texts = diagnosticSheetTexts(preview.privacyMode);
    setWindowTitle(toQString(texts.title));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(16);

    auto* header = new QVBoxLayout;
    header->setSpacing(6);
    header->addWidget(
        themedLabel(theme, toQString(texts.title), QuorvaneFontStyle::title3, QFont::DemiBold));
    header->addWidget(themedLabel(theme, toQString(texts.description), QuorvaneFontStyle::callout,
                                  QFont::Normal, true));
    column->addLayout(header);

    text_ = new QPlainTextEdit(this);
    text_->setPlainText(QString::fromStdString(preview_.text()));
    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    setSpokenName(text_, QStringLiteral("진단 리포트 JSON 미리보기"));
    text_->setMinimumSize(kTextMinimumWidth, kTextMinimumHeight);
    column->addWidget(text_, 1);

    copy_ = new QPushButton(QStringLiteral("복사"), this);
    save_ = new QPushButton(QStringLiteral("파일로 저장…"), this);
    close_ = new QPushButton(QStringLiteral("닫기"), this);
    for (auto* button : {copy_, save_, close_})
        button->setAutoDefault(false);
    auto* buttons = new FitToWidth(8, 8);
    buttons->addWidget(copy_);
    buttons->addWidget(save_);
    buttons->addStretch();
    buttons->addWidget(close_);
    column->addWidget(buttons);

    connect(copy_, &QPushButton::clicked, this, &DiagnosticReportSheet::copyRequested);
    connect(save_, &QPushButton::clicked, this, &DiagnosticReportSheet::saveRequested);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    connect(&theme_, &Theme::changed, this, &DiagnosticReportSheet::restyle);
    restyle();
    refitOnTextSizeChange(theme_, this);
}

void DiagnosticReportSheet::restyle() {
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSizeF(theme_.font(QuorvaneFontStyle::caption).pointSizeF());
    text_->setFont(mono);
    for (auto* button : {copy_, save_, close_})
        button->setFont(theme_.baseFont());
    const auto size =
        settings_layout::diagnosticSheetMinimumSize(theme_.textSize(), screenVisibleHeight(this));
    setMinimumSize(static_cast<int>(size.minimumWidth), static_cast<int>(size.minimumHeight));
    giveWayToButtons(minimumHeight());
}

// A low screen leaves the sheet less than its usual height (also once it is
// fitted to an output lower than the one its sizes were first made for):
// the report's text (which scrolls) gives way, never the buttons under it.
void DiagnosticReportSheet::giveWayToButtons(int height) {
    text_->setMinimumHeight(kTextMinimumHeight);
    const int needed = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(minimumWidth())
                                                     : layout()->totalSizeHint().height();
    const int others = needed - kTextMinimumHeight;
    text_->setMinimumHeight(std::clamp(height - others, kTextLeastHeight, kTextMinimumHeight));
}

void DiagnosticReportSheet::resizeEvent(QResizeEvent* event) {
    // Narrower than the text's own width, the text (which scrolls) gives
    // way too, its scroll bar kept inside the sheet.
    const QMargins around = layout()->contentsMargins();
    text_->setMinimumWidth(
        std::clamp(width() - around.left() - around.right(), kTextLeastHeight, kTextMinimumWidth));
    giveWayToButtons(height());
    QDialog::resizeEvent(event);
}

}  // namespace quorvane
