#include "views/panel/panel_footer_view.hpp"

#include <QLabel>
#include <QPainter>
#include <QTextLayout>
#include <QVBoxLayout>

#include "views/access/spoken_text.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/theme.hpp"

namespace quorvane {

namespace {

constexpr int kStatusLines = 2;
// The footer's two buttons: rounded rectangles rather than capsules, with
// more room around their labels than a chip.
constexpr ButtonFrame kFooterButtonFrame{{12, 7}, 32, 10};

// The text as it fits in `lines` lines of `width`, the last one elided.
QString fittedLines(const QString& text, const QFont& font, int width, int lines) {
    if (width <= 0)
        return text;
    QTextLayout layout(text, font);
    layout.beginLayout();
    QStringList shown;
    for (int index = 0; index < lines; ++index) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        const QString part = text.mid(line.textStart(), line.textLength());
        if (index == lines - 1 && line.textStart() + line.textLength() < text.size()) {
            shown << QFontMetrics(font).elidedText(text.mid(line.textStart()), Qt::ElideRight,
                                                   width);
            break;
        }
        shown << part.trimmed();
    }
    layout.endLayout();
    return shown.join(QLatin1Char('\n'));
}

}  // namespace

PanelFooterView::PanelFooterView(Theme& theme, QWidget* parent) : QWidget(parent), theme_(theme) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(10);
    status_ = new QLabel(this);
    status_->setContentsMargins(2, 0, 2, 0);
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(status_);

    buttons_ = new FitToWidth(8, 6, this);
    openMain_ =
        new ChipButton(theme, QStringLiteral("창 열기"), QuorvaneChipProminence::accent, buttons_);
    openMain_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    settings_ =
        new ChipButton(theme, QStringLiteral("설정"), QuorvaneChipProminence::neutral, buttons_);
    settings_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    for (ChipButton* button : {openMain_, settings_})
        button->setFrame(kFooterButtonFrame);
    buttons_->addWidget(openMain_);
    buttons_->addWidget(settings_);
    layout->addWidget(buttons_);
    connect(openMain_, &ChipButton::clicked, this, &PanelFooterView::openMainWindowRequested);
    connect(settings_, &ChipButton::clicked, this, &PanelFooterView::settingsRequested);
    connect(&theme_, &Theme::changed, this, &PanelFooterView::restyle);
    restyle();
}

void PanelFooterView::setStatus(const QString& text) {
    // Called on every store change; the lines are laid out again only for a
    // new text (a new font or width lays them out on its own).
    if (text == fullStatus_)
        return;
    fullStatus_ = text;
    showStatus();
}

void PanelFooterView::showStatus() {
    const int width = status_->contentsRect().width();
    status_->setText(fittedLines(fullStatus_, status_->font(), width, kStatusLines));
    status_->setToolTip(fullStatus_);
    setSpokenName(status_, fullStatus_);
}

void PanelFooterView::restyle() {
    status_->setFont(theme_.font(QuorvaneFontStyle::caption2));
    QPalette palette = status_->palette();
    palette.setColor(QPalette::WindowText, theme_.color(ColorRole::secondary));
    status_->setPalette(palette);
    const QFont buttonFont = theme_.font(QuorvaneFontStyle::caption, QFont::DemiBold);
    openMain_->setFont(buttonFont);
    settings_->setFont(buttonFont);
    showStatus();
    update();
}

void PanelFooterView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    showStatus();
}

void PanelFooterView::paintEvent(QPaintEvent*) {
    const bool dark = theme_.scheme() == ColorScheme::dark;
    QPainter painter(this);
    painter.fillRect(rect(), dark ? QColor(51, 49, 45) : QColor(251, 249, 244));
    painter.setPen(QPen(theme_.color(ColorRole::surfaceBorder), 1));
    painter.drawLine(QPointF(0, 0.5), QPointF(width(), 0.5));
}

}  // namespace quorvane
