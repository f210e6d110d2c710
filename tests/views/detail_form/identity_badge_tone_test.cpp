// The identity badge as a person sees it: its words and its symbol drawn in
// the tone of how surely the display is recognised (green, orange or grey),
// measured in the rendered pixels against the theme's own tone colour, in
// the light and the dark scheme.

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdlib>

#include "views/design/surface_panel.hpp"
#include "views/design/symbol_side.hpp"
#include "views/detail_form/detail_form_fixture.hpp"
#include "views/detail_form/display_overview_card.hpp"
#include "views/support/ink.hpp"

namespace quorvane::testing {
namespace {

// How far a fully inked pixel may stray from its colour (rounding of the
// blend with the capsule's wash).
constexpr int kToneTolerance = 24;

struct ToneInk {
    // Pixels within the tolerance of the tone.
    int inTone = 0;
    // The mean colour of the strongest ink: the pixels that differ most from
    // the capsule's fill, which antialiasing leaves at the pen's own colour.
    QColor strongest;
};

int channelDistance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

ToneInk inkOf(const QImage& image, const QRect& region, const QColor& tone) {
    const QRect area = region.intersected(image.rect());
    const QRgb fill = backgroundOf(image, area);
    int strongest = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            strongest = std::max(strongest, channelDistance(image.pixel(x, y), fill));
    ToneInk ink;
    long red = 0, green = 0, blue = 0, count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (channelDistance(pixel, tone.rgb()) <= kToneTolerance)
                ++ink.inTone;
            if (strongest > 0 && channelDistance(pixel, fill) * 10 >= strongest * 9) {
                red += qRed(pixel);
                green += qGreen(pixel);
                blue += qBlue(pixel);
                ++count;
            }
        }
    }
    if (count > 0)
        ink.strongest = QColor(int(red / count), int(green / count), int(blue / count));
    return ink;
}

struct BadgeCase {
    DisplayID display;
    const char* title;
    ColorRole tone;
};

struct IdentityBadgeToneTest : DetailFormTest {
    void startWithEveryConfidence(QuorvaneAppearance appearance) {
        theme.setAppearance(appearance);
        const auto twins = identicalTwins(2, 3);
        start({externalDisplay(1, "Studio", 1001), twins[0], twins[1],
               externalDisplay(4, "Loner", 0, 3840)});
        // A grouped page: its overview card carries the badge.
        show(MainWindowSection::profile);
    }

    StatusPill* shownBadge() const {
        for (auto* card : form->findChildren<DisplayOverviewCard*>()) {
            if (!card->isVisibleTo(form))
                continue;
            if (auto* pill = card->findChild<StatusPill*>(); pill && pill->isVisibleTo(form))
                return pill;
        }
        return nullptr;
    }

    // The badge of `badge.display` in the window's picture: the symbol's
    // square at its left and the words beyond it, each in the tone.
    void expectDrawnInTone(const BadgeCase& badge) {
        SCOPED_TRACE(badge.title);
        store().setSelectedDisplayID(badge.display);
        turn();
        StatusPill* pill = shownBadge();
        ASSERT_NE(pill, nullptr);
        ASSERT_EQ(pill->text(), QString::fromUtf8(badge.title));
        const QColor tone = theme.color(badge.tone);
        const QImage picture = window.grab().toImage();
        const QRect box = boxIn(&window, pill);
        // The badge's horizontal inset, as the card sets it.
        const int inset = 9;
        const int side = symbolSide(pill->font());
        const QRect symbol(box.left() + inset, box.top(), side, box.height());
        const QRect words(symbol.right() + 2, box.top(), box.right() - symbol.right() - 1,
                          box.height());

        const auto symbolInk = inkOf(picture, symbol, tone);
        EXPECT_GE(symbolInk.inTone, 10) << "symbol";
        EXPECT_LE(channelDistance(symbolInk.strongest.rgb(), tone.rgb()), kToneTolerance)
            << "symbol ink " << symbolInk.strongest.name().toStdString() << " for tone "
            << tone.name().toStdString();
        const auto wordInk = inkOf(picture, words, tone);
        EXPECT_GE(wordInk.inTone, 60) << "words";
        EXPECT_LE(channelDistance(wordInk.strongest.rgb(), tone.rgb()), kToneTolerance)
            << "word ink " << wordInk.strongest.name().toStdString() << " for tone "
            << tone.name().toStdString();
    }

    const std::vector<BadgeCase> badges = {
        {1, "확실히 구분됨", ColorRole::systemGreen},
        {2, "구분 불확실", ColorRole::systemOrange},
        {4, "고유 번호 없음", ColorRole::secondary},
    };
};

TEST_F(IdentityBadgeToneTest, EachConfidenceIsDrawnInItsToneInTheLightScheme) {
    startWithEveryConfidence(QuorvaneAppearance::light);
    for (const auto& badge : badges)
        expectDrawnInTone(badge);
}

TEST_F(IdentityBadgeToneTest, EachConfidenceIsDrawnInItsToneInTheDarkScheme) {
    startWithEveryConfidence(QuorvaneAppearance::dark);
    for (const auto& badge : badges)
        expectDrawnInTone(badge);
}

// A scheme switched while the page is shown redraws the badge in the new
// scheme's tone.
TEST_F(IdentityBadgeToneTest, ASchemeChangedWhileShownRedrawsTheBadgeInTheNewTone) {
    startWithEveryConfidence(QuorvaneAppearance::light);
    expectDrawnInTone(badges[1]);
    theme.setAppearance(QuorvaneAppearance::dark);
    turn();
    expectDrawnInTone(badges[1]);
}

}  // namespace
}  // namespace quorvane::testing
