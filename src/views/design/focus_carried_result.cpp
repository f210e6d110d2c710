#include "views/design/focus_carried_result.hpp"

#include <QEvent>
#include <QString>
#include <QWidget>
#include <utility>

#include "views/design/spoken_text.hpp"

namespace quorvane {

namespace {

// The result a control carries: a child of the control, gone with the
// result.
class FocusCarriedResult : public QObject {
  public:
    static constexpr const char* kName = "quorvaneFocusCarriedResult";

    // `text` as spoken.
    FocusCarriedResult(QWidget* control, QString text)
        : QObject(control),
          control_(control),
          ownDescription_(control->accessibleDescription()),
          text_(std::move(text)) {
        setObjectName(QString::fromLatin1(kName));
        control->installEventFilter(this);
        setSpokenDescription(control, text_);
    }

    const QString& text() const { return text_; }

    // The control reads as before, and this goes. A description its view
    // gave it meanwhile is the one it keeps.
    void end() {
        control_->removeEventFilter(this);
        if (control_->accessibleDescription() == text_ && text_ != ownDescription_)
            control_->setAccessibleDescription(ownDescription_);
        text_.clear();
        // Unnamed at once: a newer result may come before it is deleted.
        setObjectName(QString());
        deleteLater();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == control_ &&
            (event->type() == QEvent::FocusOut || event->type() == QEvent::Hide))
            end();
        return QObject::eventFilter(watched, event);
    }

  private:
    QWidget* control_;
    QString ownDescription_;
    QString text_;
};

FocusCarriedResult* carrierOf(const QWidget* control) {
    return control->findChild<FocusCarriedResult*>(QString::fromLatin1(FocusCarriedResult::kName),
                                                   Qt::FindDirectChildrenOnly);
}

}  // namespace

void carryWithFocus(QWidget* control, const QString& text) {
    QString spoken = spokenText(text).trimmed();
    if (!control || spoken.isEmpty())
        return;
    // Only the latest result is carried, in the whole window.
    for (auto* older : control->window()->findChildren<FocusCarriedResult*>(
             QString::fromLatin1(FocusCarriedResult::kName)))
        older->end();
    new FocusCarriedResult(control, std::move(spoken));
}

QString carriedResult(const QWidget* control) {
    const FocusCarriedResult* carrier = control ? carrierOf(control) : nullptr;
    return carrier ? carrier->text() : QString();
}

}  // namespace quorvane
