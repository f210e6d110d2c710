#include "views/design/appearance_switcher.hpp"

#include <QAccessible>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "services/display_store/display_store.hpp"
#include "views/access/accessible_role.hpp"
#include "views/access/choice_tab_stop.hpp"
#include "views/access/spoken_text.hpp"
#include "views/access/toggle_button_accessible.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/shrinking_label.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/symbol_side.hpp"
#include "views/design/symbol_table.hpp"
#include "views/design/theme.hpp"
#include "views/store_bridge.hpp"
#include "views/view_context.hpp"

namespace quorvane {

namespace {

using Model = AppearanceSwitcherModel;

// One option: a capsule with the option's symbol and (unless compact) title.
class AppearanceOption : public QAbstractButton {
  public:
    AppearanceOption(Theme& theme, QuorvaneAppearance option, bool compact, Model::Chrome chrome,
                     QWidget* parent)
        : QAbstractButton(parent),
          theme_(theme),
          option_(option),
          compact_(compact),
          chrome_(chrome),
          title_(new ShrinkingLabel(QString::fromStdString(Model::title(option)), 0.82, this)) {
        setCheckable(true);
        setAutoExclusive(false);
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::PointingHandCursor);
        setToolTip(QString::fromStdString(Model::helpText(option)));
        setSpokenName(this, QString::fromStdString(Model::accessibilityLabel(option)));
        // Read like every segment of a picker, checked when chosen, and also
        // as the selected option with the value "선택됨".
        readAsSelectableOption(this, QString::fromStdString(Model::accessibilityValue(true)));
        title_->setAttribute(Qt::WA_TransparentForMouseEvents);
        title_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        // The title's ink follows the checked state, however it changes.
        connect(this, &QAbstractButton::toggled, this, &AppearanceOption::restyle);
    }

    QuorvaneAppearance option() const { return option_; }

    void restyle() {
        title_->setFont(theme_.font(QuorvaneFontStyle::caption2, QFont::DemiBold));
        title_->setVisible(Model::showsTitles(compact_, theme_.textSize()));
        title_->setTextColor(theme_.color(isChecked() ? ColorRole::ink : ColorRole::mutedInk));
        updateGeometry();
        update();
    }

    QSize sizeHint() const override {
        const int vertical = compact_ ? 5 : 6;
        int width = 2 * horizontalInset() + symbolSide();
        if (title_->isVisibleTo(this))
            width += spacing() + title_->sizeHint().width();
        const int minHeight = static_cast<int>(
            std::lround(Model::optionMinHeight(chrome_, compact_, theme_.textSize())));
        const int content = std::max(symbolSide(), title_->sizeHint().height());
        return {width, std::max(minHeight, content + 2 * vertical)};
    }
    QSize minimumSizeHint() const override {
        QSize hint = sizeHint();
        if (title_->isVisibleTo(this))
            hint.rwidth() -= title_->sizeHint().width() - title_->minimumSizeHint().width();
        return hint;
    }

  protected:
    void resizeEvent(QResizeEvent*) override {
        const int x = horizontalInset() + symbolSide() + spacing();
        title_->setGeometry(x, 0, std::max(0, width() - x - horizontalInset()), height());
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const bool dark = theme_.scheme() == ColorScheme::dark;
        const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        const double radius = shape.height() / 2;
        if (isChecked()) {
            painter.setPen(QPen(theme_.color(ColorRole::accent, dark ? 0.52 : 0.40), 1));
            painter.setBrush(theme_.color(ColorRole::accentFill, dark ? 0.86 : 0.92));
            painter.drawRoundedRect(shape, radius, radius);
        } else if (chrome_ == Model::Chrome::panel) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(theme_.color(ColorRole::surface, 0.18));
            painter.drawRoundedRect(shape, radius, radius);
        }
        if (hasFocus()) {
            painter.setPen(QPen(theme_.color(ColorRole::accent, 0.9), 1.5));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(shape.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
        }
        const int side = symbolSide();
        paintSymbol(painter, QRectF(horizontalInset(), (height() - side) / 2.0, side, side),
                    Model::symbol(option_),
                    theme_.color(isChecked() ? ColorRole::ink : ColorRole::mutedInk));
    }

  private:
    int horizontalInset() const { return compact_ ? 8 : 10; }
    int spacing() const { return compact_ ? 4 : 5; }
    // The symbol at (10 or 11) × scale points.
    int symbolSide() const {
        return quorvane::symbolSide((compact_ ? 10.0 : 11.0) * theme_.scale());
    }

    Theme& theme_;
    QuorvaneAppearance option_;
    bool compact_;
    Model::Chrome chrome_;
    ShrinkingLabel* title_;
};

// The options' track: a capsule on panels, nothing in a toolbar.
class OptionTrack : public QWidget {
  public:
    OptionTrack(Theme& theme, Model::Chrome chrome, QWidget* parent)
        : QWidget(parent), theme_(theme), chrome_(chrome) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        if (chrome_ != Model::Chrome::panel)
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const bool dark = theme_.scheme() == ColorScheme::dark;
        const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(QPen(theme_.color(ColorRole::surfaceBorder, 0.72), 1));
        painter.setBrush(theme_.color(ColorRole::track, dark ? 0.36 : 0.48));
        painter.drawRoundedRect(shape, shape.height() / 2, shape.height() / 2);
    }

  private:
    Theme& theme_;
    Model::Chrome chrome_;
};

}  // namespace

AppearanceSwitcher::AppearanceSwitcher(ViewContext& context, bool includeSystem, bool compact,
                                       Chrome chrome, QWidget* parent)
    : QWidget(parent),
      store_(context.store),
      theme_(context.theme),
      includeSystem_(includeSystem),
      compact_(compact),
      chrome_(chrome),
      fit_(new FitToWidth(chrome == Chrome::toolbar ? 4 : 6, 7, this)),
      label_(new QWidget(this)),
      labelSymbol_(new SymbolImage({}, label_)),
      labelText_(new QLabel(QStringLiteral("화면 모드"), label_)),
      track_(new OptionTrack(context.theme, chrome, this)) {
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(fit_);

    auto* labelRow = new QHBoxLayout(label_);
    labelRow->setContentsMargins(0, 0, 0, 0);
    labelRow->setSpacing(5);
    labelRow->addWidget(labelSymbol_);
    labelRow->addWidget(labelText_);
    labelText_->setWordWrap(true);
    labelText_->setVisible(chrome == Chrome::panel);
    // The label (its symbol and, beside the panel's track, its words) reads
    // as one text and names the switcher.
    readAs(label_, QAccessible::StaticText);
    setSpokenName(label_, labelText_->text());
    hideFromAccessibility(labelText_);

    auto* options = new QHBoxLayout(track_);
    const int inset = chrome == Chrome::panel ? 3 : 0;
    options->setContentsMargins(inset, inset, inset, inset);
    options->setSpacing(4);
    // A picker: one Tab stop on the chosen option, the arrows move the choice.
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    for (auto option : Model::options(includeSystem)) {
        auto* button = new AppearanceOption(theme_, option, compact, chrome, track_);
        options->addWidget(button);
        group->addButton(button);
        options_.push_back(button);
        connect(button, &QAbstractButton::clicked, this, [this, option] {
            store_.setAppearance(option);
            syncSelection();
        });
    }
    keepTabStopOnChoice(group);
    track_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    fit_->addWidget(label_);
    fit_->addWidget(track_);
    readAs(this, QAccessible::Grouping);
    labelBy(this, label_);
    connect(&context.bridge, &StoreBridge::storeChanged, this, &AppearanceSwitcher::syncSelection);
    connect(&theme_, &Theme::changed, this, &AppearanceSwitcher::refresh);
    refresh();
}

QAbstractButton* AppearanceSwitcher::optionButton(QuorvaneAppearance option) const {
    for (auto* button : options_) {
        if (static_cast<AppearanceOption*>(button)->option() == option)
            return button;
    }
    return nullptr;
}

void AppearanceSwitcher::labelByHeading(QWidget* heading) {
    hideFromAccessibility(label_);
    labelBy(this, heading);
}

void AppearanceSwitcher::refresh() {
    syncSelection();
    restyle();
}

void AppearanceSwitcher::syncSelection() {
    const QuorvaneAppearance stored = store_.appearance();
    for (auto* button : options_) {
        auto* option = static_cast<AppearanceOption*>(button);
        const bool selected =
            Model::isSelected(option->option(), stored, includeSystem_, theme_.scheme());
        // Qt tells assistive technology of the checked state it changes.
        if (option->isChecked() != selected)
            option->setChecked(selected);
    }
    labelSymbol_->setSystemName(Model::symbol(stored));
}

void AppearanceSwitcher::restyle() {
    for (auto* button : options_)
        static_cast<AppearanceOption*>(button)->restyle();
    labelSymbol_->setColor(theme_.color(ColorRole::secondary));
    const QFont labelFont = chrome_ == Chrome::toolbar
                                ? theme_.scaledFont(14, QFont::DemiBold)
                                : theme_.font(QuorvaneFontStyle::caption, QFont::DemiBold);
    labelText_->setFont(labelFont);
    labelSymbol_->setFont(labelFont);
    if (chrome_ == Chrome::toolbar) {
        // The symbol grows with the base font; its frame never gets smaller
        // than 22 × 28.
        const int side = symbolSide(Model::toolbarLabelSymbolPoints(theme_.textSize()));
        labelSymbol_->setFixedSide(side);
        label_->setFixedSize(std::max(static_cast<int>(Model::kToolbarLabelWidth), side),
                             std::max(static_cast<int>(Model::kToolbarLabelHeight), side));
    }
    QPalette palette = labelText_->palette();
    palette.setColor(QPalette::WindowText, theme_.color(ColorRole::secondary));
    labelText_->setPalette(palette);
    track_->updateGeometry();
    track_->update();
    fit_->layout()->invalidate();
}

}  // namespace quorvane
