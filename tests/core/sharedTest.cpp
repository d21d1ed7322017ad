// The shared window procedures: the hand cursor, staying on top, registry values.
#include "core/ui/gShared.h"
#include "testSupport.h"

#include <QCoreApplication>
#include <QLabel>

class HandCursor : public HomeTest {};
class TopMost : public HomeTest {};
class RegistryValues : public HomeTest {};

TEST_F(HandCursor, GoesToLblCmdControlsOnly) {
    QWidget form;
    auto* yes = new QLabel("a", &form);
    yes->setObjectName("lblCmd1");
    auto* no = new QLabel("b", &form);
    no->setObjectName("LblCmd1");
    gSetHandCursor(&form);
    EXPECT_EQ(yes->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_NE(no->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(TopMost, KeepsTheWindowWhereItWas) {
    QWidget w;
    w.setGeometry(120, 90, 300, 200);
    w.show();
    QCoreApplication::processEvents();
    const QRect before = w.geometry();
    gSetTopMost(&w, true);
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.geometry(), before);
    gSetTopMost(&w, false);
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.geometry(), before);

    QWidget hidden;
    gSetTopMost(&hidden, true);
    EXPECT_FALSE(hidden.isVisible());
}

TEST_F(RegistryValues, ThroughTheSharedProcedures) {
    const QString key = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    QString text;
    ASSERT_TRUE(gRegSetString(HKEY_CURRENT_USER, "Software\\Rededera", "Empty", text));
    EXPECT_EQ(text, " "); // an empty text is stored as a single space, and the caller sees it
    EXPECT_EQ(gRegGetValue(HKEY_CURRENT_USER, "Software\\Rededera", "Empty", "d"), " ");
    EXPECT_EQ(gRegGetValue(HKEY_CURRENT_USER, "Software\\Rededera", "Missing", "default"), "default");
    gRegDeleteValue(HKEY_CURRENT_USER, key, "Rededera"); // nothing to delete: ignored
    EXPECT_EQ(gRegGetValue(HKEY_CURRENT_USER, key, "Rededera", "none"), "none");
}
