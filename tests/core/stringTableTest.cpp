#include "core/gStrings.h"
#include "core/gResources.h"

#include <gtest/gtest.h>

TEST(StringTable, EveryMessageBeginsWithAKindDigit) {
    for (int id = 101; id <= 145; ++id) {
        ASSERT_TRUE(gHasResString(id)) << id;
        const QString s = gLoadResString(id);
        ASSERT_FALSE(s.isEmpty()) << id;
        EXPECT_TRUE(s[0] >= QLatin1Char('1') && s[0] <= QLatin1Char('4')) << id;
    }
}
