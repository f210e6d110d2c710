#include "views/detail_form/step_card_button.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "presentation/design/quorvane_glyph.hpp"
#include "views/access/spoken_text.hpp"
#include "views/access/toggle_button_accessible.hpp"
#include "views/design/glyph_icon.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/symbol_tile_icon.hpp"
#include "views/design/theme.hpp"
#include "views/design/theme_follow.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/detail_labels.hpp"
#include "views/detail_form/detail_surface_frame.hpp"

namespace quorvane {

namespace {

constexpr int kMinimumHeight = 158;

// The step number on its disc.
class StepNumber : public QWidget {
  public:
    StepNumber(Theme& theme, QString number, QWidget* parent)
        : QWidget(parent), theme_(theme), number_(std::move(number)) {
        setFixedSize(24, 24);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        paintDetailSurface(painter, rect(), theme_, DetailSurface::stepNumberDisc);
        painter.setFont(monospaced(theme_.font(QuorvaneFontStyle::caption, QFont::Bold)));
        painter.setPen(theme_.color(ColorRole::ink));
        painter.drawText(rect(), Qt::AlignCenter, number_);
    }

  private:
    Theme& theme_;
    QString number_;
};

}  // namespace

StepCardButton::StepCardButton(Theme& theme, const StartGuideStep& step, QWidget* parent)
    : QAbstractButton(parent), theme_(theme) {
    setCursor(Qt::PointingHandCursor);
    // Read as Qt reads a button, without the decorative icon inside.
    readAsToggleButton(this);
    setSpokenName(this, qText(step.accessibleName()));
    setSpokenDescription(this, qText(step.description));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::MinimumExpanding);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(10);

    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    top->addWidget(new StepNumber(theme, qText(step.number), this));
    QWidget* icon = nullptr;
    if (const auto glyph = parseCaseName(step.glyph, static_cast<QuorvaneGlyph*>(nullptr))) {
        auto* glyphIcon = new GlyphIcon(*glyph, 24, 1.6, theme.color(ColorRole::accent), this);
        followTheme(theme, glyphIcon,
                    [glyphIcon, &theme] { glyphIcon->setTint(theme.color(ColorRole::accent)); });
        icon = glyphIcon;
    } else
        icon = new SymbolTileIcon(theme, step.systemImage, 24, this);
    top->addWidget(icon);
    top->addStretch(1);
    column->addLayout(top);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(5);
    texts->addWidget(
        makeText(theme, qText(step.title), QuorvaneFontStyle::headline, QFont::DemiBold));
    texts->addWidget(makeCaption(theme, qText(step.description)));
    column->addLayout(texts);
    column->addStretch(1);
    column->addSpacing(4);

    auto* action = new QHBoxLayout;
    action->setSpacing(5);
    auto* actionTitle = new QLabel(qText(step.actionTitle), this);
    actionTitle->setObjectName(QStringLiteral("stepActionTitle"));
    // A label inside a button would draw in the button's text role; the
    // action row is the accent, title and chevron alike.
    actionTitle->setForegroundRole(QPalette::WindowText);
    auto* chevron = new SymbolImage("chevron.right", this);
    followTheme(theme, this, [actionTitle, chevron, &theme] {
        actionTitle->setFont(theme.font(QuorvaneFontStyle::caption, QFont::DemiBold));
        QPalette palette = actionTitle->palette();
        palette.setColor(QPalette::WindowText, theme.color(ColorRole::accent));
        actionTitle->setPalette(palette);
        chevron->setFont(theme.font(QuorvaneFontStyle::caption2, QFont::Bold));
        chevron->setColor(theme.color(ColorRole::accent));
    });
    action->addWidget(actionTitle);
    action->addWidget(chevron);
    action->addStretch(1);
    column->addLayout(action);

    // Presses on the face's parts belong to the card.
    for (auto* child : findChildren<QWidget*>())
        child->setAttribute(Qt::WA_TransparentForMouseEvents);
}

QSize StepCardButton::sizeHint() const {
    const QSize hint = layout()->sizeHint();
    return {hint.width(), std::max(hint.height(), kMinimumHeight)};
}

QSize StepCardButton::minimumSizeHint() const {
    const QSize minimum = layout()->minimumSize();
    return {minimum.width(), std::max(minimum.height(), kMinimumHeight)};
}

int StepCardButton::heightForWidth(int width) const {
    return std::max(layout()->totalHeightForWidth(width), kMinimumHeight);
}

void StepCardButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintDetailSurface(painter, rect(), theme_, DetailSurface::stepCard);
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(theme_.color(ColorRole::accent, 0.7), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 15, 15);
    }
}

}  // namespace quorvane
