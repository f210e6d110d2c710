#include "views/design/spoken_notice.hpp"

#include <QAccessible>
#include <QMetaObject>
#include <QStringList>
#include <QWidget>

#include "views/design/accessible_role.hpp"
#include "views/design/spoken_text.hpp"

namespace quorvane {

namespace {

constexpr const char* kNoticeName = "quorvaneSpokenNotice";

class SpokenNoticeLine : public QWidget {
  public:
    explicit SpokenNoticeLine(QWidget* window) : QWidget(window) {
        setObjectName(QString::fromLatin1(kNoticeName));
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        readAs(this, QAccessible::Notification);
        setGeometry(0, 0, 1, 1);
        // Shown first as it first speaks.
        hide();
    }

    void add(const QString& text) {
        const QString spoken = spokenText(text).trimmed();
        if (spoken.isEmpty() || pending_.contains(spoken) || !heardNow())
            return;
        pending_.append(spoken);
        if (pending_.size() == 1)
            QMetaObject::invokeMethod(
                this, [this] { sayPending(); }, Qt::QueuedConnection);
    }

  private:
    // Named, then shown again: the show is what the screen reader hears,
    // and it reads the name then.
    void sayPending() {
        const QString said = pending_.join(QStringLiteral(". "));
        pending_.clear();
        if (!heardNow())
            return;
        setSpokenName(this, said);
        if (isVisible())
            hide();
        show();
        // Said once: hidden again at once, so that nothing reads it later
        // as if it were still true (a screen reader's review of the
        // window). The screen reader answering the show still reads the
        // name, which stays.
        QMetaObject::invokeMethod(
            this, [this] { hide(); }, Qt::QueuedConnection);
    }

    // Only the window the user is in speaks: a check that ends while
    // another window or program has the focus says nothing there.
    bool heardNow() const { return parentWidget()->isActiveWindow(); }

    QStringList pending_;
};

SpokenNoticeLine* noticeOf(QWidget* window) {
    return window->findChild<SpokenNoticeLine*>(QString::fromLatin1(kNoticeName),
                                                Qt::FindDirectChildrenOnly);
}

}  // namespace

void speakNotice(QWidget* near, const QString& text) {
    if (!near)
        return;
    QWidget* window = near->window();
    SpokenNoticeLine* notice = noticeOf(window);
    if (!notice)
        notice = new SpokenNoticeLine(window);
    notice->add(text);
}

QWidget* spokenNoticeOf(QWidget* window) {
    return noticeOf(window);
}

}  // namespace quorvane
