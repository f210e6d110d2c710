#include "views/design/spoken_notice.hpp"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QMetaObject>
#include <QStringList>
#include <QWidget>

#include "views/design/accessible_role.hpp"
#include "views/design/spoken_text.hpp"

namespace quorvane {

namespace {

constexpr const char* kNoticeName = "quorvaneSpokenNotice";
constexpr const char* kLastResultName = "quorvaneLastResult";

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

// How long a notice shows once it has spoken.
enum class Showing {
    // Hidden again at once.
    whileSaid,
    // Until the next words replace it.
    untilReplaced,
};

class SpokenNoticeLine : public QWidget {
  public:
    SpokenNoticeLine(QWidget* window, Showing showing) : QWidget(window), showing_(showing) {
        setObjectName(
            QString::fromLatin1(showing == Showing::whileSaid ? kNoticeName : kLastResultName));
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
        if (showing_ == Showing::whileSaid)
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

    Showing showing_;
    QStringList pending_;
};

SpokenNoticeLine* noticeOf(QWidget* window, Showing showing = Showing::whileSaid) {
    return window->findChild<SpokenNoticeLine*>(
        QString::fromLatin1(showing == Showing::whileSaid ? kNoticeName : kLastResultName),
        Qt::FindDirectChildrenOnly);
}

void speak(QWidget* near, const QString& text, Showing showing) {
    if (!near)
        return;
    QWidget* window = near->window();
    QWidget* host = noticeHost(window);
    SpokenNoticeLine* notice = noticeOf(host, showing);
    if (!notice)
        notice = new SpokenNoticeLine(host, showing);
    notice->add(text, window);
}

}  // namespace

void speakNotice(QWidget* near, const QString& text) {
    speak(near, text, Showing::whileSaid);
}

void speakLastResult(QWidget* near, const QString& text) {
    speak(near, text, Showing::untilReplaced);
}

QWidget* spokenNoticeOf(QWidget* window) {
    return noticeOf(noticeHost(window));
}

}  // namespace quorvane
