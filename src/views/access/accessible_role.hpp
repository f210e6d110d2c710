#pragma once

#include <QAccessible>
#include <QAccessibleWidget>

class QWidget;

namespace quorvane {

// How assistive technology reads the application's plain widgets (every
// widget whose nearest Qt class is QWidget or QFrame: pills, cards, pickers,
// drawings, layout boxes) and the Qt containers the windows place (a
// splitter, whose drag handle is left out, a message box and its button
// box, a stack of pages). Qt fixes a widget's role the first time a bridge
// asks for it; a widget built without a parent and named before it is placed
// would stay a window (announced as a "frame") for good, and a QFrame reads
// as a border, also a "frame". Here the role is read each time it is asked:
//   - a window while the widget is one (a tray panel, the settings window),
//     named by its title; an alert for a message box;
//   - else the role given with readAs(), or a plain container.
// Children hidden with hideFromAccessibility() are left out of the tree, so
// a decorative drawing never reaches a screen reader; the row or card around
// it carries the words.
//
// Install once, right after the application object exists (so that it is
// asked before Qt's own widget interfaces):
//   QApplication application(argc, argv);
//   quorvane::installWidgetAccessible();
void installWidgetAccessible();

// What the widget is to a screen reader: a pill or badge reads as text
// (QAccessible::StaticText), a picker of segments as a group named by its
// title (QAccessible::Grouping), a card that acts as one as a button.
void readAs(QWidget* widget, QAccessible::Role role);

// Leaves `widget` and everything in it out of the accessible tree (read by
// the widget it is placed in, so it may be hidden before it is placed).
void hideFromAccessibility(QWidget* widget);

// Makes the heading on screen the label of `control` (a picker under its
// title): the control is labelled by it and named by its words unless it
// has a name of its own, and the heading labels it, so a screen reader
// reads the words once, as the control's, not once for each. The control
// must read as one of ours (a plain widget, see readAs()).
//
// Usage:
//   labelBy(picker, title);
void labelBy(QWidget* control, QWidget* heading);

// Gives `widget` a new accessible object after its role changed (a button
// that became plain text, and back). A screen reader keeps the role it
// first met for an object, and Qt's Linux bridge passes on no change of
// role: the old object is told gone, the new one (read afresh) told
// created, and told focused when the widget holds the focus, so the
// screen reader reads it again with its new role. Nothing while no
// assistive technology listens.
void tellAsNewObject(QWidget* widget);

// Tells assistive technology that `widget` holds the focus, for a focus Qt
// gives without a word: to the control that is the application's focus
// already (a popup opened again, whose control kept it while it was closed).
void tellFocused(QWidget* widget);

// The base of the application's own accessible interfaces: Qt's reading of
// a widget, less its children hidden from accessibility, its name,
// description and value spoken plain (spokenText()), no description that
// only repeats the name, and focused only while it holds the focus itself.
class WidgetAccessible : public QAccessibleWidget {
  public:
    using QAccessibleWidget::QAccessibleWidget;

    QString text(QAccessible::Text kind) const override;
    QAccessible::State state() const override;
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
};

}  // namespace quorvane
