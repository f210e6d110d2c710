#include "views/main_window/sidebar_row_button.hpp"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "views/access/accessible_role.hpp"
#include "views/access/opening_focus.hpp"
#include "views/access/shown_state_text.hpp"
#include "views/access/spoken_text.hpp"
#include "views/design/glyph_icon.hpp"
#include "views/design/shrinking_label.hpp"
#include "views/design/symbol_tile_icon.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

namespace {

constexpr int kIconSize = 24;
constexpr double kGlyphLineWidth = 1.6;
constexpr qreal kCornerRadius = 10;
constexpr double kMinimumTitleScale = 0.85;

// Reads the row as one button with the value "선택됨" and the selected state,
// which a screen reader presses to open the row's page. The value is also
// its text, so that a screen reader, which reads no value of a button, says
// "선택됨" when the row it is on becomes the marked one.
class SidebarRowAccessible : public WidgetAccessible, public ShownStateText {
  public:
    explicit SidebarRowAccessible(SidebarRowButton* row)
        : WidgetAccessible(row, QAccessible::Button), row_(row) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return WidgetAccessible::interface_cast(type);
    }

    QString shownText() const override { return toQString(row_->row().accessibleValue()); }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value)
            return toQString(row_->row().accessibleValue());
        return WidgetAccessible::text(kind);
    }

    QAccessible::State state() const override {
        auto result = QAccessibleWidget::state();
        result.selectable = true;
        result.selected = row_->row().isSelected;
        return result;
    }

    QStringList actionNames() const override {
        return QStringList{QAccessibleActionInterface::pressAction()} +
               QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (name != QAccessibleActionInterface::pressAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        if (row_->isEnabled())
            row_->click();
    }

  private:
    SidebarRowButton* row_;
};

QAccessibleInterface* sidebarRowAccessible(const QString&, QObject* object) {
    if (auto* row = qobject_cast<SidebarRowButton*>(object))
        return new SidebarRowAccessible(row);
    return nullptr;
}

void installAccessibleFactoryOnce() {
    // Qt keeps factories for the application's life; one is enough.
    static const bool installed = [] {
        QAccessible::installFactory(sidebarRowAccessible);
        return true;
    }();
    (void)installed;
}

}  // namespace

SidebarRowButton::SidebarRowButton(Theme& theme, QWidget* parent)
    : QAbstractButton(parent), theme_(theme) {
    installAccessibleFactoryOnce();
    setCursor(Qt::PointingHandCursor);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);

    rowLayout_ = new QHBoxLayout(this);
    rowLayout_->setContentsMargins(6, 4, 6, 4);
    rowLayout_->setSpacing(8);
    auto* copy = new QVBoxLayout;
    copy->setSpacing(2);
    // The title (a long monitor alias too) wraps whole in the base font.
    title_ = new WrappingLabel(QString(), this);
    subtitle_ = new ShrinkingLabel(QString(), kMinimumTitleScale, this);
    copy->addWidget(title_);
    copy->addWidget(subtitle_);
    rowLayout_->addLayout(copy, 1);
    for (QWidget* label : std::initializer_list<QWidget*>{title_, subtitle_})
        label->setAttribute(Qt::WA_TransparentForMouseEvents);

    connect(&theme_, &Theme::changed, this, &SidebarRowButton::restyle);
}

void SidebarRowButton::setRow(const SidebarRow& row) {
    if (shown_ && row == row_)
        return;
    const bool iconChanged =
        !shown_ || row.glyph != row_.glyph || row.systemImage != row_.systemImage;
    const QString valueBefore = shown_ ? toQString(row_.accessibleValue()) : QString();
    const bool selectionChanged = shown_ && row.isSelected != row_.isSelected;
    row_ = row;
    shown_ = true;

    if (iconChanged) {
        delete glyph_;
        delete symbol_;
        glyph_ = nullptr;
        symbol_ = nullptr;
        const auto glyph = row_.glyph
                               ? parseCaseName(*row_.glyph, static_cast<QuorvaneGlyph*>(nullptr))
                               : std::nullopt;
        QWidget* icon = nullptr;
        if (glyph) {
            glyph_ = new GlyphIcon(*glyph, kIconSize, kGlyphLineWidth, tint(), this);
            icon = glyph_;
        } else {
            symbol_ = new SymbolTileIcon(theme_, row_.systemImage, kIconSize, this);
            icon = symbol_;
        }
        icon->setAttribute(Qt::WA_TransparentForMouseEvents);
        icon->setFixedSize(kIconSize, kIconSize);
        rowLayout_->insertWidget(0, icon, 0, Qt::AlignVCenter);
    }
    title_->setText(toQString(row_.title));
    subtitle_->setText(row_.subtitle ? toQString(*row_.subtitle) : QString());
    subtitle_->setVisible(row_.subtitle.has_value());
    setToolTip(toQString(row_.help));
    setSpokenName(this, toQString(row_.accessibleName()));
    // Space on a row not selected shows another page.
    setKeyEffect(this, row_.isSelected ? KeyEffect::stays : KeyEffect::changesScreen);
    restyle();

    QAccessibleValueChangeEvent announcement(this, toQString(row_.accessibleValue()));
    QAccessible::updateAccessibility(&announcement);
    if (selectionChanged) {
        // The selected state, and the value as the row's words. The row the
        // user chose, holding the focus, is heard once, by its words: a
        // screen reader answers its selected state after Space with its own
        // "selected" as well.
        if (!(row_.isSelected && hasFocus())) {
            QAccessibleEvent selection(
                this, row_.isSelected ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
            QAccessible::updateAccessibility(&selection);
        }
        announceShownText(this, valueBefore, toQString(row_.accessibleValue()));
    }
}

QColor SidebarRowButton::tint() const {
    return row_.isSelected ? theme_.color(ColorRole::accent) : theme_.color(ColorRole::secondary);
}

void SidebarRowButton::restyle() {
    title_->setFont(theme_.baseFont());
    title_->setTextColor(theme_.color(ColorRole::primary));
    subtitle_->setFont(theme_.font(QuorvaneFontStyle::caption));
    subtitle_->setTextColor(theme_.color(ColorRole::secondary));
    if (glyph_)
        glyph_->setTint(tint());
    if (symbol_)
        symbol_->setForeground(tint());
    updateGeometry();
    update();
}

QSize SidebarRowButton::sizeHint() const {
    const QSize copy = layout()->sizeHint();
    return {copy.width(), std::max(copy.height(), kIconSize + 8)};
}

int SidebarRowButton::heightForWidth(int width) const {
    return std::max(layout()->totalHeightForWidth(width), kIconSize + 8);
}

QSize SidebarRowButton::minimumSizeHint() const {
    return {kIconSize + 12 + 40, sizeHint().height()};
}

void SidebarRowButton::paintEvent(QPaintEvent*) {
    if (!row_.isSelected && !hasFocus())
        return;
    const bool dark = theme_.scheme() == ColorScheme::dark;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (row_.isSelected) {
        painter.setBrush(theme_.color(ColorRole::accentFill, dark ? 0.72 : 0.82));
        painter.setPen(QPen(theme_.color(ColorRole::accent, dark ? 0.36 : 0.28), 1));
    } else {
        // Keyboard focus on an unmarked row: the border alone.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(theme_.color(ColorRole::accent, 0.5), 1));
    }
    painter.drawRoundedRect(shape, kCornerRadius, kCornerRadius);
}

}  // namespace quorvane
