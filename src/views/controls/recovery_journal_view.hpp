#pragma once

#include <QWidget>

#include "models/recovery/quorvane_recovery_journal.hpp"

class QVBoxLayout;

namespace quorvane {

class Theme;

// The recovery journal's newest entries as small bordered cards, under a
// header (not in compact mode), or an empty-state line. Only displays: no
// buttons, no store calls. setJournal() redraws; at most `limit` rows. Out
// of sight in a window that has shown (a folded section, a page of a hidden
// window) it redraws when it shows: every row built tells a screen reader
// its texts, and the journal grows with each step the user takes elsewhere.
class RecoveryJournalView : public QWidget {
    Q_OBJECT

  public:
    RecoveryJournalView(Theme& theme, bool compact, int limit, QWidget* parent = nullptr);

    void setJournal(QuorvaneRecoveryJournal journal);
    int shownRows() const { return shownRows_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void rebuild();
    QWidget* buildRow(const QuorvaneRecoveryJournalEntry& entry, QWidget* parent);

    Theme& theme_;
    bool compact_;
    int limit_;
    QuorvaneRecoveryJournal journal_;
    QVBoxLayout* column_;
    QWidget* content_ = nullptr;
    int shownRows_ = 0;
    bool stale_ = false;
};

}  // namespace quorvane
