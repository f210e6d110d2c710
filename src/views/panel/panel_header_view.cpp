#include "views/panel/panel_header_view.hpp"

#include <QActionGroup>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QSpacerItem>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "views/access/accessible_role.hpp"
#include "views/access/menu_item_help.hpp"
#include "views/access/spoken_text.hpp"
#include "views/access/toggle_button_accessible.hpp"
#include "views/design/symbol_table.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/panel/panel_picker_chip.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

namespace {

// A small drawing of a screen on its stand: decorative only.
class ScreenIcon final : public QWidget {
  public:
    ScreenIcon(Theme& theme, QWidget* parent) : QWidget(parent), theme_(theme) {
        setFixedSize(36, 28);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hideFromAccessibility(this);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(theme_.color(ColorRole::accent), 1.5));
        painter.setBrush(theme_.color(ColorRole::accentFill));
        painter.drawRoundedRect(QRectF(0.75, 0.75, 34.5, 26.5), 7, 7);
        painter.setPen(Qt::NoPen);
        painter.setBrush(theme_.color(ColorRole::accent));
        painter.drawRoundedRect(QRectF(11, 26, 14, 2), 1, 1);
    }

  private:
    Theme& theme_;
};

constexpr int kGap = 10;
// The least width of the spring between the text and the menus, which
// keeps a gap on either side of it.
constexpr int kLeastSpring = 8;
// Room around the options symbol for its focus and hover marks.
constexpr int kOptionsMargin = 2;

// Whether `shown` and `wanted` offer the same choices in the same order, by
// `key`, whatever their words and ticks.
template <typename Item, typename Key>
bool sameChoices(const std::vector<Item>& wanted, const std::vector<Item>& shown, Key Item::*key) {
    return std::equal(wanted.begin(), wanted.end(), shown.begin(), shown.end(),
                      [key](const Item& a, const Item& b) { return a.*key == b.*key; });
}

// A menu item kept in place, given its words and tick anew.
void showItem(QAction* action, const QString& text, const QString& help, bool checked) {
    action->setText(text);
    if (!help.isEmpty())
        setMenuItemHelp(action, help);
    action->setChecked(checked);
}

}  // namespace

PanelHeaderView::PanelHeaderView(Theme& theme, QWidget* parent) : QWidget(parent), theme_(theme) {
    // Drawing, text, spring, picker and options, 10 apart: the name and
    // subtitle take the width they need and wrap when the row leaves them
    // less, always at least 10 + 8 + 10 before the picker (or the options).
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 12);
    layout->setSpacing(0);

    layout->addWidget(new ScreenIcon(theme, this), 0, Qt::AlignVCenter);
    layout->addSpacing(kGap);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    title_ = new WrappingLabel(QString(), this);
    subtitle_ = new WrappingLabel(QString(), this);
    subtitle_->setSecondary(true);
    texts->addWidget(title_);
    texts->addWidget(subtitle_);
    layout->addLayout(texts);
    layout->addSpacing(kGap);
    layout->addSpacerItem(
        new QSpacerItem(kLeastSpring, 0, QSizePolicy::MinimumExpanding, QSizePolicy::Minimum));
    layout->addSpacing(kGap);

    picker_ = new PanelPickerChip(theme, QStringLiteral("다른 화면"), this);
    picker_->setToolTip(QStringLiteral("다른 디스플레이 선택"));
    pickerMenu_ = new QMenu(picker_);
    // A screen reader names a popup menu by its title: the help text of the
    // picker that opens it, and the options button's own label.
    pickerMenu_->setTitle(picker_->toolTip());
    setSpokenName(pickerMenu_, picker_->toolTip());
    layout->addWidget(picker_, 0, Qt::AlignVCenter);
    pickerGap_ = new QWidget(this);
    pickerGap_->setFixedWidth(kGap);
    layout->addWidget(pickerGap_);

    options_ = new QToolButton(this);
    options_->setToolTip(QStringLiteral("메뉴 옵션"));
    setSpokenName(options_, QStringLiteral("메뉴 옵션"));
    // Its tooltip is its name: read once.
    readAsToggleButton(options_);
    options_->setAutoRaise(true);
    optionsMenu_ = new QMenu(options_);
    optionsMenu_->setTitle(options_->accessibleName());
    setSpokenName(optionsMenu_, options_->accessibleName());
    optionsMenu_->setToolTipsVisible(true);
    layout->addWidget(options_, 0, Qt::AlignVCenter);
    // The menus open below their buttons on a click.
    connect(picker_, &PanelPickerChip::clicked, this,
            [this] { pickerMenu_->popup(picker_->mapToGlobal(QPoint(0, picker_->height()))); });
    connect(options_, &QToolButton::clicked, this,
            [this] { optionsMenu_->popup(options_->mapToGlobal(QPoint(0, options_->height()))); });
    connect(&theme_, &Theme::changed, this, &PanelHeaderView::restyle);
    restyle();
}

void PanelHeaderView::restyle() {
    title_->setFont(theme_.font(QuorvaneFontStyle::subheadline, QFont::DemiBold));
    subtitle_->setFont(theme_.font(QuorvaneFontStyle::caption2));
    const QColor ink = theme_.color(ColorRole::primary);
    picker_->setFont(theme_.font(QuorvaneFontStyle::caption2, QFont::DemiBold));
    picker_->update();
    const int side = static_cast<int>(18 * theme_.scale());
    options_->setIcon(symbolIcon("ellipsis.circle", ink, side));
    options_->setIconSize(QSize(side, side));
    options_->setFixedSize(side + 2 * kOptionsMargin, side + 2 * kOptionsMargin);
    if (rescan_)
        rescan_->setIcon(rescanIcon());
    update();
}

void PanelHeaderView::paintEvent(QPaintEvent*) {
    // The divider under the heading.
    QPainter painter(this);
    painter.setPen(QPen(theme_.color(ColorRole::surfaceBorder, 0.58), 1));
    const qreal y = height() - 0.5;
    painter.drawLine(QPointF(0, y), QPointF(width(), y));
}

void PanelHeaderView::setHeader(const PanelHeader& header,
                                const std::vector<PanelDisplayPickerItem>& displays,
                                const std::vector<PanelTextSizeItem>& textSizes) {
    title_->setText(QString::fromStdString(header.title));
    subtitle_->setText(QString::fromStdString(header.subtitle));
    picker_->setVisible(header.showsDisplayPicker);
    pickerGap_->setVisible(header.showsDisplayPicker);
    if (displays != shownDisplays_)
        fillPicker(displays);
    if (textSizes != shownTextSizes_)
        fillOptions(textSizes);
}

QIcon PanelHeaderView::rescanIcon() const {
    return symbolIcon("arrow.clockwise", theme_.color(ColorRole::primary), 24);
}

void PanelHeaderView::fillPicker(const std::vector<PanelDisplayPickerItem>& displays) {
    const bool sameDisplays = sameChoices(displays, shownDisplays_, &PanelDisplayPickerItem::id);
    shownDisplays_ = displays;
    if (sameDisplays) {
        const auto actions = pickerMenu_->actions();
        for (std::size_t index = 0; index < displays.size(); ++index)
            showItem(actions.at(static_cast<qsizetype>(index)),
                     toVerbatimButtonText(displays[index].title), {}, displays[index].checked);
        return;
    }
    pickerMenu_->clear();
    qDeleteAll(pickerMenu_->findChildren<QActionGroup*>(QString(), Qt::FindDirectChildrenOnly));
    // One tick at a time, and choosing the ticked item again keeps its tick.
    auto* group = new QActionGroup(pickerMenu_);
    for (const PanelDisplayPickerItem& item : displays) {
        QAction* action = pickerMenu_->addAction(toVerbatimButtonText(item.title));
        group->addAction(action);
        action->setCheckable(true);
        action->setChecked(item.checked);
        const DisplayID id = item.id;
        connect(action, &QAction::triggered, this, [this, id] { emit displayChosen(id); });
    }
}

void PanelHeaderView::fillOptions(const std::vector<PanelTextSizeItem>& textSizes) {
    const bool sameSizes = sameChoices(textSizes, shownTextSizes_, &PanelTextSizeItem::size);
    shownTextSizes_ = textSizes;
    if (sameSizes) {
        // After the re-scan item and the separator.
        const auto actions = optionsMenu_->actions();
        for (std::size_t index = 0; index < textSizes.size(); ++index) {
            const PanelTextSizeItem& item = textSizes[index];
            showItem(actions.at(static_cast<qsizetype>(index) + 2),
                     QString::fromStdString(item.title), QString::fromStdString(item.helpText),
                     item.checked);
        }
        return;
    }
    optionsMenu_->clear();
    qDeleteAll(optionsMenu_->findChildren<QActionGroup*>(QString(), Qt::FindDirectChildrenOnly));
    rescan_ = optionsMenu_->addAction(rescanIcon(), QStringLiteral("디스플레이 다시 검색"));
    connect(rescan_, &QAction::triggered, this, &PanelHeaderView::rescanRequested);
    optionsMenu_->addSeparator();
    auto* group = new QActionGroup(optionsMenu_);
    for (const PanelTextSizeItem& item : textSizes) {
        QAction* action = optionsMenu_->addAction(QString::fromStdString(item.title));
        group->addAction(action);
        setMenuItemHelp(action, QString::fromStdString(item.helpText));
        action->setCheckable(true);
        action->setChecked(item.checked);
        const QuorvaneTextSize size = item.size;
        connect(action, &QAction::triggered, this, [this, size] { emit textSizeChosen(size); });
    }
}

}  // namespace quorvane
