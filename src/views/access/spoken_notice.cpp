#include "views/access/spoken_notice.hpp"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QMetaObject>
#include <QStringList>
#include <QWidget>

#include "views/access/accessible_role.hpp"
#include "views/access/spoken_text.hpp"

namespace quorvane {

namespace {

constexpr const char* kNoticeName = "quorvaneSpokenNotice";

// The window whose notification speaks for `window`: a dialog's is its
// parent window's. A screen reader reads a notification inside a dialog
// after the dialog's title and description, as context it takes for new
// (some 90 characters before every result); from the window under the
// dialog it reads the words alone.
QWidget* noticeHost(QWidget* window) {
    while (qobject_cast<QDialog*>(window) && window->parentWidget())
        window = window->parentWidget()->window();
    return window;
}

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

    // `text` said from `window`, this notice's own or a dialog it speaks
    // for.
    void add(const QString& text, const QWidget* window) {
        const QString spoken = spokenText(text).trimmed();
        if (spoken.isEmpty() || pending_.contains(spoken) || !window->isActiveWindow())
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

    // Only the window the user is in speaks (or a dialog it speaks for): a
    // check that ends while another window or program has the focus says
    // nothing there.
    bool heardNow() const {
        if (parentWidget()->isActiveWindow())
            return true;
        QWidget* active = QApplication::activeWindow();
        return active && noticeHost(active) == parentWidget();
    }

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
    QWidget* host = noticeHost(window);
    SpokenNoticeLine* notice = noticeOf(host);
    if (!notice)
        notice = new SpokenNoticeLine(host);
    notice->add(text, window);
}

QWidget* spokenNoticeOf(QWidget* window) {
    return noticeOf(noticeHost(window));
}

}  // namespace quorvane
