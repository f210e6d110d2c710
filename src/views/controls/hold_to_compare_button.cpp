#include "views/controls/hold_to_compare_button.hpp"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QGraphicsOpacityEffect>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "views/access/accessible_role.hpp"
#include "views/access/spoken_notice.hpp"
#include "views/access/spoken_text.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/view_context.hpp"

namespace quorvane {

namespace {

QString spokenDescription(const HoldToCompareTexts& texts) {
    return QString::fromStdString(texts.accessibilityValue + ". " + texts.hint);
}

// Screen readers see a button whose value says whether the comparison runs
// and whose default action toggles it; its eye symbol is not read. The Linux
// bridge carries no text value for a button, so the description starts with
// the value: a screen reader reads it with the name on focus and reads it
// again when it changes under the focus.
class HoldToCompareAccessible : public WidgetAccessible {
  public:
    explicit HoldToCompareAccessible(HoldToCompareButton* button)
        : WidgetAccessible(button, QAccessible::Button) {}

    QString text(QAccessible::Text kind) const override {
        const HoldToCompareTexts texts = button()->texts();
        switch (kind) {
            case QAccessible::Name:
                return QString::fromStdString(texts.accessibilityLabel);
            case QAccessible::Value:
                return QString::fromStdString(texts.accessibilityValue);
            case QAccessible::Description:
                return spokenDescription(texts);
            case QAccessible::Help:
                return QString::fromStdString(texts.hint);
            default:
                return QAccessibleWidget::text(kind);
        }
    }
    QAccessible::Role role() const override {
        return button()->texts().actsAsButton ? QAccessible::Button : QAccessible::StaticText;
    }
    // Orca reads a focused label by what labels it, its name and its role,
    // never by its description: while the area reads as text, why it does
    // nothing is told as what labels it. A button keeps the words in its
    // description, where Orca reads them after the name.
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override {
        auto found = WidgetAccessible::relations(match);
        if (button()->texts().actsAsButton || !(match & QAccessible::Label))
            return found;
        if (QAccessibleInterface* why =
                QAccessible::queryAccessibleInterface(button()->reasonForScreenReaders()))
            found.append(qMakePair(why, QAccessible::Label));
        return found;
    }
    // Pressed to toggle while it may start or end a comparison; focused by a
    // screen reader always, as a keyboard reaches it.
    QStringList actionNames() const override {
        const QStringList own = QAccessibleWidget::actionNames();
        if (!button()->texts().actsAsButton)
            return own;
        return QStringList{QAccessibleActionInterface::pressAction()} + own;
    }
    void doAction(const QString& name) override {
        if (name != QAccessibleActionInterface::pressAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        if (button()->texts().actsAsButton)
            button()->toggleForAccessibility();
    }

  private:
    HoldToCompareButton* button() const { return static_cast<HoldToCompareButton*>(widget()); }
};

QAccessibleInterface* holdToCompareAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("quorvane::HoldToCompareButton") && object &&
        object->isWidgetType()) {
        return new HoldToCompareAccessible(static_cast<HoldToCompareButton*>(object));
    }
    return nullptr;
}

void installAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(holdToCompareAccessibleFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace

HoldToCompareButton::HoldToCompareButton(ViewContext& context, DisplayID displayID, bool compact,
                                         QWidget* parent)
    : HoldToCompareButton(
          context.theme,
          [&store = context.store, displayID] {
              return store.beginTemporaryNeutralComparison(displayID);
          },
          [&store = context.store](const QuorvaneTemporaryNeutralComparisonToken& token) {
              store.endTemporaryNeutralComparison(token);
          },
          compact, parent,
          [&store = context.store](const QuorvaneTemporaryNeutralComparisonToken& token) {
              return store.temporaryNeutralComparisonRuns(token);
          }) {}

HoldToCompareButton::HoldToCompareButton(Theme& theme, HoldToCompareSession::Begin begin,
                                         HoldToCompareSession::End end, bool compact,
                                         QWidget* parent, HoldToCompareSession::Runs runs)
    : QWidget(parent),
      theme_(theme),
      compact_(compact),
      session_(std::move(begin), std::move(end), std::move(runs)),
      toldAsButton_(texts().actsAsButton),
      symbol_(new SymbolImage("eye", this)),
      title_(new QLabel(this)),
      caption_(new WrappingLabel({}, this)),
      why_(new QLabel(this)) {
    installAccessibleFactory();
    // Never drawn nor met among the area's parts: only read through the
    // area while it reads as text.
    why_->hide();
    hideFromAccessibility(why_);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(compact ? 8 : 10, compact ? 6 : 8, compact ? 8 : 10, compact ? 6 : 8);
    row->setSpacing(8);
    row->addWidget(symbol_, 0, Qt::AlignVCenter);
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    title_->setWordWrap(true);
    column->addWidget(title_);
    column->addWidget(caption_);
    row->addLayout(column, 1);
    caption_->setSecondary(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setCursor(Qt::PointingHandCursor);
    // A keyboard reaches it with Tab and toggles it with Space, as a screen
    // reader's default action does; a pointer press does not take the focus.
    setFocusPolicy(Qt::TabFocus);
    for (QWidget* child : {static_cast<QWidget*>(symbol_), static_cast<QWidget*>(title_),
                           static_cast<QWidget*>(caption_)}) {
        child->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    connect(&theme_, &Theme::changed, this, &HoldToCompareButton::refresh);
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    endComparison();
            });
    refresh();
}

HoldToCompareButton::~HoldToCompareButton() {
    session_.end();
}

void HoldToCompareButton::setComparisonEnabled(bool enabled) {
    session_.setEnabled(enabled);
    if (texts() != shown_)
        refresh();
}

HoldToCompareTexts HoldToCompareButton::texts() const {
    return holdToCompareTexts(session_.comparing(), session_.enabled());
}

void HoldToCompareButton::toggleForAccessibility() {
    session_.toggleForAccessibility();
    refresh();
    // Told once the window has taken the store's change (its new "may
    // start" flag reaches this button on a later turn), so the value heard
    // is the one that stays.
    QMetaObject::invokeMethod(this, &HoldToCompareButton::tellValue, Qt::QueuedConnection);
}

void HoldToCompareButton::tellValue() {
    // Qt's Linux bridge passes a changed description on without its words;
    // the window's spoken notice is read out.
    speakNotice(this, QString::fromStdString(texts().accessibilityValue));
}

void HoldToCompareButton::tellRole() {
    const bool asButton = texts().actsAsButton;
    if (asButton == toldAsButton_)
        return;
    toldAsButton_ = asButton;
    tellAsNewObject(this);
}

void HoldToCompareButton::endComparison() {
    pressed_ = false;
    // Also a token whose comparison the store already ended goes back.
    session_.end();
    if (texts() != shown_)
        refresh();
}

void HoldToCompareButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressed_ = true;
    grabMouse();
    session_.beginIfNeeded();
    refresh();
}

void HoldToCompareButton::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    // A refused start is asked again on every movement, as a press would.
    if (!session_.comparing()) {
        session_.beginIfNeeded();
        refresh();
    }
}

void HoldToCompareButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    releaseMouse();
    endComparison();
}

void HoldToCompareButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space || event->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    // A held Space toggles once, not on every repeat.
    if (!event->isAutoRepeat())
        toggleForAccessibility();
    event->accept();
}

void HoldToCompareButton::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void HoldToCompareButton::focusOutEvent(QFocusEvent* event) {
    // Leaving the area is letting go, as a release is for a pointer: a
    // comparison started with Space never outlasts the keyboard's stay.
    endComparison();
    update();
    QWidget::focusOutEvent(event);
}

void HoldToCompareButton::hideEvent(QHideEvent* event) {
    endComparison();
    QWidget::hideEvent(event);
}

bool HoldToCompareButton::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::UngrabMouse:
        case QEvent::WindowDeactivate:
            endComparison();
            break;
        default:
            break;
    }
    return QWidget::event(event);
}

void HoldToCompareButton::refresh() {
    const HoldToCompareTexts current = texts();
    shown_ = current;
    const bool comparing = session_.comparing();
    symbol_->setSystemName(current.symbol);
    symbol_->setColor(theme_.color(comparing ? ColorRole::green : ColorRole::accent));
    title_->setText(QString::fromStdString(current.title));
    caption_->setText(QString::fromStdString(current.caption));
    title_->setFont(theme_.font(
        compact_ ? QuorvaneFontStyle::caption : QuorvaneFontStyle::subheadline, QFont::DemiBold));
    caption_->setFont(
        theme_.font(compact_ ? QuorvaneFontStyle::caption2 : QuorvaneFontStyle::caption));
    // The eye has no font of its own: it takes the surrounding text size,
    // not the title's.
    symbol_->setFont(theme_.baseFont());
    // The whole control, labels included, dims while it may not start.
    auto* dimming = qobject_cast<QGraphicsOpacityEffect*>(graphicsEffect());
    if (!dimming) {
        dimming = new QGraphicsOpacityEffect(this);
        setGraphicsEffect(dimming);
    }
    dimming->setOpacity(session_.enabled() ? 1.0 : 0.45);
    dimming->setEnabled(!session_.enabled());
    setToolTip(QString::fromStdString(current.tooltip));
    setSpokenName(this, QString::fromStdString(current.accessibilityLabel));
    setSpokenDescription(this, spokenDescription(current));
    why_->setText(spokenDescription(current));
    QAccessibleValueChangeEvent change(this, QString::fromStdString(current.accessibilityValue));
    QAccessible::updateAccessibility(&change);
    // A button becoming text or back is told once the window has taken the
    // store's change, as the value is: a Space ending a comparison leaves
    // the area unable to start one until the window's answer arrives, and a
    // screen reader would hear it turn to text and back.
    if (current.actsAsButton != toldAsButton_)
        QMetaObject::invokeMethod(this, &HoldToCompareButton::tellRole, Qt::QueuedConnection);
    update();
}

void HoldToCompareButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool comparing = session_.comparing();
    const bool dark = theme_.scheme() == ColorScheme::dark;
    const QColor fill = comparing ? theme_.color(ColorRole::green, dark ? 0.18 : 0.12)
                                  : theme_.color(ColorRole::accentFill, dark ? 0.62 : 0.72);
    const QColor border =
        comparing ? theme_.color(ColorRole::green, 0.36) : theme_.color(ColorRole::accent, 0.30);
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.drawRoundedRect(frame, 9, 9);
    if (hasFocus()) {
        painter.setPen(QPen(theme_.color(ColorRole::accent, 0.9), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(frame.adjusted(1, 1, -1, -1), 8, 8);
    }
}

}  // namespace quorvane
