#include "views/access/choice_tab_stop.hpp"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEvent>

namespace quorvane {

namespace {

class ChoiceTabStop final : public QObject {
  public:
    explicit ChoiceTabStop(QButtonGroup* group) : QObject(group), group_(group) {
        connect(group, &QButtonGroup::buttonToggled, this, &ChoiceTabStop::follow);
        for (QAbstractButton* button : group->buttons())
            button->installEventFilter(this);
        follow();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut)
            follow();
        return QObject::eventFilter(watched, event);
    }

  private:
    // Left alone while a choice has the focus: Qt keeps the stop on it.
    void follow() {
        QAbstractButton* chosen = group_->checkedButton();
        if (!chosen)
            return;
        const auto buttons = group_->buttons();
        for (QAbstractButton* button : buttons) {
            if (button->hasFocus())
                return;
        }
        for (QAbstractButton* button : buttons) {
            const Qt::FocusPolicy policy = button->focusPolicy();
            const auto wanted = static_cast<Qt::FocusPolicy>(
                button == chosen ? policy | Qt::TabFocus : policy & ~Qt::TabFocus);
            if (wanted != policy)
                button->setFocusPolicy(wanted);
        }
    }

    QButtonGroup* group_;
};

}  // namespace

void keepTabStopOnChoice(QButtonGroup* group) {
    new ChoiceTabStop(group);
}

}  // namespace quorvane
