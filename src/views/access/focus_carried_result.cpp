#include "views/access/focus_carried_result.hpp"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <utility>

#include "presentation/design/carried_result.hpp"
#include "views/access/spoken_text.hpp"

namespace quorvane {

namespace {

constexpr const char* kCarrierName = "quorvaneFocusCarriedResult";

// The result and the control's own name, as one label reads.
QString labelText(const QString& result, QWidget* control) {
    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(control);
    const QString name = read ? read->text(QAccessible::Name).trimmed() : QString();
    if (name.isEmpty())
        return result;
    const QChar last = result.back();
    const bool ended = last == u'.' || last == u'?' || last == u'!';
    return result + (ended ? QStringLiteral(" ") : QStringLiteral(". ")) + name;
}

// Qt tells assistive technology of a label's text as it is set. A screen
// reader that asks for the label's name on that news (one noting every
// event it is sent) has not read it with the control: while this lives, no
// news of the label goes out, and it is met only as the control's label.
class UntoldChanges {
  public:
    UntoldChanges() : previous_(QAccessible::installUpdateHandler(&untold)) {}
    ~UntoldChanges() { QAccessible::installUpdateHandler(previous_); }
    UntoldChanges(const UntoldChanges&) = delete;
    UntoldChanges& operator=(const UntoldChanges&) = delete;

  private:
    static void untold(QAccessibleEvent*) {}

    QAccessible::UpdateHandler previous_;
};

// The label of the control carrying a result: a hidden sibling of the
// control, its buddy, and first among its parent's children, so that it is
// the first label a screen reader finds for the control (Qt reads a label's
// buddy as the control it labels). Never drawn; gone with the result.
class ResultLabel : public QLabel {
  public:
    ResultLabel(QWidget* control, QString result)
        : QLabel(control->parentWidget()), control_(control), result_(std::move(result)) {
        setObjectName(QString::fromLatin1(kCarrierName));
        hide();
        const UntoldChanges untold;
        setText(labelText(result_, control));
        setBuddy(control);
        lower();
        control->installEventFilter(this);
        connect(control, &QObject::destroyed, this, [this] { end(); });
    }

    const QString& result() const { return result_; }
    const QWidget* control() const { return control_; }
    void noteRead() { read_ = true; }

    // The control reads as before, and this goes.
    void end() {
        if (control_)
            control_->removeEventFilter(this);
        setBuddy(nullptr);
        // Unnamed at once: a newer result may come before it is deleted.
        setObjectName(QString());
        deleteLater();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != control_)
            return false;
        if (event->type() == QEvent::Hide)
            end();
        if (event->type() == QEvent::FocusOut)
            focusLeft();
        return false;
    }

  private:
    // Qt names the control that has the focus now before telling the one
    // that lost it, and tells a screen reader of the new one after.
    void focusLeft() {
        QWidget* now = QApplication::focusWidget();
        const bool within =
            now && now != control_ && now->window() == control_->window() && now->parentWidget();
        switch (whenTheFocusLeavesTheCarrier({read_, QAccessible::isActive(), within})) {
            case CarriedResultStep::stays:
                return;
            case CarriedResultStep::ends:
                end();
                return;
            case CarriedResultStep::followsTheFocus: {
                const QString result = result_;
                end();
                carryWithFocus(now, result);
                return;
            }
        }
    }

    QPointer<QWidget> control_;
    QString result_;
    bool read_ = false;
};

// How a screen reader reads the label: as a label, by its text, and each
// time it asks, the result is known as read.
class ResultLabelAccessible : public QAccessibleWidget {
  public:
    explicit ResultLabelAccessible(ResultLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override {
        auto* label = static_cast<ResultLabel*>(widget());
        if (kind != QAccessible::Name)
            return QAccessibleWidget::text(kind);
        label->noteRead();
        return label->text();
    }
};

QAccessibleInterface* resultLabelAccessible(const QString&, QObject* object) {
    auto* label = object && object->isWidgetType() ? dynamic_cast<ResultLabel*>(object) : nullptr;
    return label ? new ResultLabelAccessible(label) : nullptr;
}

ResultLabel* carrierOf(const QWidget* control) {
    if (!control || !control->parentWidget())
        return nullptr;
    for (auto* label : control->parentWidget()->findChildren<ResultLabel*>(
             QString::fromLatin1(kCarrierName), Qt::FindDirectChildrenOnly))
        if (label->control() == control)
            return label;
    return nullptr;
}

}  // namespace

void carryWithFocus(QWidget* control, const QString& text) {
    QString spoken = spokenText(text).trimmed();
    if (!control || !control->parentWidget() || spoken.isEmpty())
        return;
    // Qt keeps factories for the application's life; one is enough, and it
    // is there before the first label is asked about.
    static const bool installed = [] {
        QAccessible::installFactory(resultLabelAccessible);
        return true;
    }();
    (void)installed;
    // Only the latest result is carried, in the whole window.
    for (auto* older :
         control->window()->findChildren<ResultLabel*>(QString::fromLatin1(kCarrierName)))
        older->end();
    new ResultLabel(control, std::move(spoken));
}

QString carriedResult(const QWidget* control) {
    const ResultLabel* carrier = carrierOf(control);
    return carrier ? carrier->result() : QString();
}

}  // namespace quorvane
