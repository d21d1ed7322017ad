#include "core/model/gMsgIds.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"
#include "core/model/gStrings.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>

namespace {
// The message numbers the program names, read from the header that names them,
// so that a message added there is checked here too.
QMap<QString, int> namedMessages() {
    QFile f(QStringLiteral(REDEDERA_SOURCE_DIR "/core/model/gMsgIds.h"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    QMap<QString, int> names;
    static const QRegularExpression line(QStringLiteral(R"(constexpr int (\w+) = (\d+);)"));
    for (auto m = line.globalMatch(QString::fromUtf8(f.readAll())); m.hasNext();) {
        const QRegularExpressionMatch one = m.next();
        names.insert(one.captured(1), one.captured(2).toInt());
    }
    return names;
}

// The numbers of a run of texts: base + 1 to base + count.
QList<int> run(int base, int count) {
    QList<int> ids;
    for (int k = 1; k <= count; ++k)
        ids << base + k;
    return ids;
}
} // namespace

TEST(StringTable, HoldsEveryMessageTheProgramNames) {
    const QMap<QString, int> messages = namedMessages();
    ASSERT_GE(messages.size(), 40) << "the message names were not read";
    EXPECT_EQ(messages.value(QStringLiteral("DraftFound")), Msg::DraftFound);
    EXPECT_EQ(messages.value(QStringLiteral("RecordFileRefused")), Msg::RecordFileRefused);
    for (auto m = messages.cbegin(); m != messages.cend(); ++m)
        EXPECT_TRUE(gHasResString(m.value())) << m.key().toStdString() << " " << m.value();
    EXPECT_THROW(gLoadResString(999), std::exception);
}

TEST(StringTable, HoldsTheHelpTheManifestAndTheDefaultTimetable) {
    QList<int> ids{Res::HelpHeading, Res::ManifestText};
    for (int topic = Res::FirstHelpTopic; topic <= Res::LastHelpTopic; ++topic)
        ids << topic << topic + Res::HelpTextOffset;
    // The runs lie end to end: seven weekdays, then ten periods' names, starts and ends.
    const int days = Res::PeriodNameBase - Res::WeekdayNameBase;
    const int periods = Res::PeriodBeginBase - Res::PeriodNameBase;
    EXPECT_EQ(days, 7);
    EXPECT_EQ(periods, 10);
    EXPECT_EQ(Res::PeriodEndBase - Res::PeriodBeginBase, periods);
    ids << run(Res::WeekdayNameBase, days) << run(Res::PeriodNameBase, periods)
        << run(Res::PeriodBeginBase, periods) << run(Res::PeriodEndBase, periods);
    for (int id : ids)
        EXPECT_TRUE(gHasResString(id)) << id;
    for (int id : run(Res::PeriodBeginBase, 2 * periods)) {
        bool minutes = false;
        const int m = gLoadResString(id).toInt(&minutes);
        EXPECT_TRUE(minutes && m >= 0 && m < 24 * 60) << id;
    }
}

TEST(StringTable, EveryMessageBeginsWithAKindDigitAndHelpBelongsToOne) {
    const QList<int> named = namedMessages().values();
    ASSERT_FALSE(named.isEmpty());
    const int first = *std::min_element(named.begin(), named.end());
    const int last = *std::max_element(named.begin(), named.end());
    // Every text among the messages' numbers is a message, named or not.
    for (int id : gResStringIds()) {
        if (id < first || id > last) continue;
        const QString s = gLoadResString(id);
        ASSERT_FALSE(s.isEmpty()) << id;
        EXPECT_TRUE(s[0] >= QLatin1Char('1') && s[0] <= QLatin1Char('4')) << id;
    }
    // A message's help is the text 300 after it; none stands without its message.
    for (int id : gResStringIds())
        if (id >= first + 300 && id <= last + 300) EXPECT_TRUE(named.contains(id - 300)) << id;
    EXPECT_TRUE(gHasResString(Msg::DraftFound + 300));
    EXPECT_TRUE(gHasResString(Msg::ProfileBroken + 300));
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
