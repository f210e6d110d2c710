#include "views/main_window/no_display_state.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "presentation/main_window/main_window_texts.hpp"
#include "views/access/opening_focus.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

namespace {

constexpr int kSymbolPoints = 44;
constexpr int kDescriptionMaximumWidth = 420;

}  // namespace

NoDisplayState::NoDisplayState(Theme& theme, std::function<void()> rescan,
                               std::function<void()> openSettings, QWidget* parent)
    : QWidget(parent), theme_(theme) {
    namespace texts = main_window_texts;
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(14);
    column->addStretch(1);

    auto* unavailable = new QVBoxLayout;
    unavailable->setSpacing(8);
    symbol_ = new SymbolImage(std::string(texts::kNoDisplaySymbol), this);
    unavailable->addWidget(symbol_, 0, Qt::AlignHCenter);
    title_ = new QLabel(toQString(texts::kNoDisplayTitle), this);
    title_->setAlignment(Qt::AlignHCenter);
    unavailable->addWidget(title_, 0, Qt::AlignHCenter);
    // Centred lines: a plain wrapping label keeps the centring per line.
    description_ = new QLabel(toQString(texts::kNoDisplayDescription), this);
    description_->setWordWrap(true);
    description_->setAlignment(Qt::AlignHCenter);
    // Added without an alignment of its own, so the layout gives it the
    // height its wrapped lines need at the width it gets.
    auto* descriptionRow = new QHBoxLayout;
    descriptionRow->addStretch(1);
    descriptionRow->addWidget(description_, 10);
    descriptionRow->addStretch(1);
    unavailable->addLayout(descriptionRow);
    column->addLayout(unavailable);

    auto* actions = new QHBoxLayout;
    actions->setSpacing(10);
    actions->addStretch(1);
    rescan_ = new ChipButton(theme_, toQString(texts::kRescanButton),
                             QuorvaneChipProminence::accent, this);
    rescan_->setSymbol(std::string(texts::kRescanSymbol));
    connect(rescan_, &QAbstractButton::clicked, this, [rescan] { rescan(); });
    settings_ = new ChipButton(theme_, toQString(texts::kSettingsButton),
                               QuorvaneChipProminence::neutral, this);
    settings_->setSymbol(std::string(texts::kSettingsSymbol));
    connect(settings_, &QAbstractButton::clicked, this, [openSettings] { openSettings(); });
    setKeyEffect(settings_, KeyEffect::opensWindow);
    actions->addWidget(rescan_);
    actions->addWidget(settings_);
    actions->addStretch(1);
    column->addLayout(actions);
    column->addStretch(1);

    connect(&theme_, &Theme::changed, this, &NoDisplayState::restyle);
    restyle();
}

void NoDisplayState::restyle() {
    symbol_->setFixedSide(int(kSymbolPoints * theme_.scale()));
    symbol_->setColor(theme_.color(ColorRole::secondary));
    title_->setFont(theme_.font(QuorvaneFontStyle::title3, QFont::Bold));
    description_->setFont(theme_.font(QuorvaneFontStyle::callout));
    description_->setMaximumWidth(int(kDescriptionMaximumWidth * theme_.scale()));
    QPalette colours = description_->palette();
    colours.setColor(QPalette::WindowText, theme_.color(ColorRole::secondary));
    description_->setPalette(colours);
}

}  // namespace quorvane
