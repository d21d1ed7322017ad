#include "core/model/gResIds.h"
#include "core/ui/gResources.h"
#include "core/model/gStrings.h"

#include <QDirIterator>
#include <QFileInfo>

#include <gtest/gtest.h>

TEST(StringTable, HoldsEveryNumberTheProgramUses) {
    QList<int> ids;
    for (int i = 101; i <= 150; ++i)
        ids << i;
    ids << 402 << 417;
    for (int i = 701; i <= 706; ++i)
        ids << i;
    for (int i = 752; i <= 756; ++i)
        ids << i;
    for (int i = 1000; i <= 1037; ++i)
        ids << i;
    for (int id : ids)
        EXPECT_TRUE(gHasResString(id)) << id;
    EXPECT_THROW(gLoadResString(999), std::exception);
}

TEST(StringTable, EveryMessageBeginsWithAKindDigit) {
    for (int id = 101; id <= 150; ++id) {
        const QString s = gLoadResString(id);
        ASSERT_FALSE(s.isEmpty()) << id;
        EXPECT_TRUE(s[0] >= QLatin1Char('1') && s[0] <= QLatin1Char('4')) << id;
    }
}

TEST(StringTable, KeepsTheTextsQuirks) {
    EXPECT_TRUE(gLoadResString(129).endsWith("删除收藏并不删除日记。\r"));
    EXPECT_TRUE(gLoadResString(131).endsWith("试着合并一些日记。\r"));
    EXPECT_FALSE(gLoadResString(130).endsWith("\r"));
    EXPECT_EQ(gLoadResString(115),
              "1无法登录：\r\n登录失败：\" %1 \" 帐户的记录文件密匙已失效。\r\n需要导入密匙或重新创建。");
    EXPECT_EQ(gLoadResString(116), "4失效的记录文件已经保存在 \"%1\" 。");
    EXPECT_TRUE(gLoadResString(117).contains("\r\nSchedule 无法启动。\r\n"));
    // Each topic text begins with its heading.
    const std::pair<int, QString> topics[] = {{752, "主页："},
                                              {753, "课程："},
                                              {754, "记录："},
                                              {755, "悬浮窗体及托盘图标："},
                                              {756, "帐户保护措施："}};
    for (const auto& [id, heading] : topics)
        EXPECT_TRUE(gLoadResString(id).startsWith(heading + "\r\n")) << id;
    EXPECT_EQ(gLoadResString(1001), "星期一");
    EXPECT_EQ(gLoadResString(1017), "第十节");
    EXPECT_EQ(gLoadResString(1018), "480");
    EXPECT_EQ(gLoadResString(1037), "1270");
}

TEST(StringTable, TheFileFormatsEscapes) {
    const auto t = gParseStringTable("# comment\n7\ta\\r\\nb\\\\c\\td\n8\t\n9x\tignored\n");
    EXPECT_EQ(t.value(7), "a\r\nb\\c\td");
    EXPECT_TRUE(t.contains(8));
    EXPECT_EQ(t.size(), 2);
}

TEST(Resources, EveryPictureLoadsAndTheKindsStayApart) {
    for (int id = 101; id <= 104; ++id) {
        EXPECT_TRUE(gHasResPicture(gResKind::Icon, id)) << id;
        EXPECT_FALSE(gLoadResPicture(id, gResKind::Icon, QSize(32, 32)).isNull()) << id;
    }
    EXPECT_FALSE(gLoadResPicture(123, gResKind::Bitmap).isNull());
    EXPECT_EQ(gLoadResCursor(Res::HandCursor).shape(), Qt::PointingHandCursor);
    EXPECT_THROW(gLoadResPicture(9999, gResKind::Bitmap), std::exception);

    // Every picture compiled in renders, whoever drew it.
    int count = 0;
    QDirIterator it(":/res", {"*.svg", "*.png"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString kind = QFileInfo(path).dir().dirName();
        bool ok = false;
        const int id = QFileInfo(path).baseName().toInt(&ok);
        if (ok && (kind == "bitmap" || kind == "icon" || kind == "cursor")) {
            const gResKind k = kind == "bitmap" ? gResKind::Bitmap
                               : kind == "icon" ? gResKind::Icon
                                                : gResKind::Cursor;
            EXPECT_FALSE(gLoadResPicture(id, k, QSize(16, 16)).isNull()) << path.toStdString();
        } else {
            EXPECT_FALSE(QIcon(path).pixmap(16, 16).isNull()) << path.toStdString();
        }
        ++count;
    }
    EXPECT_GE(count, 5);
}
