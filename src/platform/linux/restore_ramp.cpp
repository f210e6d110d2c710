#include "platform/linux/restore_ramp.hpp"

#include <cmath>

#include "platform/linux/published_icc_profile.hpp"
#include "platform/linux/vcgt_ramp.hpp"

namespace quorvane {

namespace {

// Half a step of the 16-bit ramp: closer than this cannot be told apart.
constexpr double kNeutralTolerance = 0.5 / 65535.0;

bool isIdentityTable(const std::vector<float>& table) {
    if (table.size() < 2)
        return false;
    const double last = static_cast<double>(table.size() - 1);
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (std::abs(table[i] - static_cast<double>(i) / last) > kNeutralTolerance)
            return false;
    }
    return true;
}

}  // namespace

GammaRamp restoreRamp(XConnection& connection, std::size_t outputIndex, std::size_t rampSize) {
    const auto profile = readPublishedProfile(connection, publishedProfileAtomName(outputIndex));
    if (auto calibration = vcgtRamp(profile, rampSize))
        return *calibration;
    return GammaRamp::identity(rampSize);
}

bool isNeutralTables(const TransferTables& tables) {
    return isIdentityTable(tables.red) && isIdentityTable(tables.green) &&
           isIdentityTable(tables.blue);
}

}  // namespace quorvane
