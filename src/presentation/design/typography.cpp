#include "presentation/design/typography.hpp"

#include "presentation/design/text_size_table.hpp"

namespace quorvane {

namespace {

constexpr TextSizeTable<double> kScales{{1.0, 1.12, 1.26, 1.44}};
constexpr TextSizeTable<double> kBaseFonts{{14.0, 15.68, 17.64, 20.16}};
constexpr TextSizeTable<QuorvaneControlSize> kControlSizes{
    {QuorvaneControlSize::regular, QuorvaneControlSize::large, QuorvaneControlSize::extraLarge,
     QuorvaneControlSize::extraLarge}};
constexpr TextSizeTable<double> kButtonMinHeights{{30, 34, 40, 46}};

}  // namespace

double textScale(QuorvaneTextSize size) {
    return kScales[size];
}

double baseFontPoints(QuorvaneTextSize size) {
    return kBaseFonts[size];
}

QuorvaneControlSize controlSize(QuorvaneTextSize size) {
    return kControlSizes[size];
}

double accessibleButtonMinHeight(QuorvaneTextSize size) {
    return kButtonMinHeights[size];
}

double basePointSize(QuorvaneFontStyle style) {
    switch (style) {
        case QuorvaneFontStyle::caption2:
            return 11;
        case QuorvaneFontStyle::caption:
            return 12;
        case QuorvaneFontStyle::callout:
        case QuorvaneFontStyle::body:
            return 14;
        case QuorvaneFontStyle::subheadline:
            return 13;
        case QuorvaneFontStyle::headline:
            return 15;
        case QuorvaneFontStyle::title3:
            return 20;
    }
    return 14;
}

double scaledPointSize(QuorvaneFontStyle style, double scale) {
    return basePointSize(style) * scale;
}

}  // namespace quorvane
