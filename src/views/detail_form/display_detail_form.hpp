#pragma once

#include <optional>

#include <QPointer>
#include <QWidget>

#include "presentation/main_window/main_window_state.hpp"
#include "views/detail_form/detail_page.hpp"
#include "views/view_context.hpp"

namespace quorvane {

class ConfirmationPresenter;

// The editor in the main window's detail column for the selected display:
// one page for the selected section. The start and colour sections are
// scroll pages; the other eight are a grouped form under the display's
// overview card.
//
// The form keeps no state of its own: drafts and names live in the window's
// MainWindowState, confirmations go to the window's presenter. refresh()
// (on every store change and every theme change) updates the page in place;
// a new page is built only when the section or the display changes; the
// focus on the page it replaces moves to the new one before the old hides.
class DisplayDetailForm : public QWidget {
    Q_OBJECT

  public:
    DisplayDetailForm(ViewContext& context, MainWindowState& state,
                      ConfirmationPresenter& confirmations, QWidget* parent = nullptr);

    void refresh();

    // The page shown now, for tests.
    DetailPage* page() const { return page_; }

  private:
    struct PageKey {
        MainWindowSection section = MainWindowSection::start;
        DisplayID displayID = 0;

        bool operator==(const PageKey&) const = default;
    };

    void replacePage(const PageKey& key);
    void retire(DetailPage* page);

    DetailFormContext context_;
    QPointer<DetailPage> page_;
    // The page replaced last, hidden: a screen reader still asks about the
    // control it last heard there after the focus has moved on, and takes
    // a control gone by then for a destroyed one. It goes with the next
    // replacement.
    QPointer<DetailPage> retired_;
    std::optional<PageKey> pageKey_;
};

}  // namespace quorvane
