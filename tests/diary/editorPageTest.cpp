// The editor as a page of the main window: leave prompts, cancel, the
// clipboard quote, change tracking, the first-line link, focus and layout.
#include "controls/scheduleSlider.h"
#include "controls/scheduleText.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "diary/frmNew.h"
#include "editorFixture.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QClipboard>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using EditorPage = EditorTest;

TEST_F(EditorPage, ControlsCarryTheirCaptions) {
    frmNew* e = openEditor();
    EXPECT_EQ(e->headingLabel->text(), QStringLiteral("记录"));
    EXPECT_EQ(e->titleCaption->text(), QStringLiteral("标题(&T)："));
    EXPECT_EQ(e->dateCaption->text(), QStringLiteral("日期(&D)："));
    EXPECT_EQ(e->moodCaption->text(), QStringLiteral("心情(&H)："));
    EXPECT_EQ(e->firstLineAsTitleLink->text(), QStringLiteral("第一行设置为标题"));
    EXPECT_EQ(e->saveButton->text(), QStringLiteral("保存(&S)"));
    EXPECT_EQ(e->cancelButton->text(), QStringLiteral("取消"));
    EXPECT_EQ(e->firstLineAsTitleLink->cursor().shape(), gLoadResCursor(Res::HandCursor).shape());
    EXPECT_FALSE(e->draftNoticeLabel->isVisibleTo(e));
    EXPECT_EQ(e->parentWidget()->parentWidget(), main_->centralWidget());
}

TEST_F(EditorPage, LeavePromptsFollowTheEntryKind) {
    struct Case {
        const char* what;
        bool edit;
        bool touch; // change the entry after it opened
        int asked;  // message asked when leaving, 0 none
    };
    const Case cases[] = {
        {"new, empty", false, false, 0},
        {"new, with text", false, true, 119},
        {"edited, unchanged", true, false, 0},
        {"edited, changed", true, true, 107},
    };
    const QDate day(2026, 3, 4);
    addRow(day, QStringLiteral("标题"), QStringLiteral("内容"), 50);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        loadDay(day);
        gDayIndex = 1;
        frmNew* e = openEditor(c.edit, c.edit, false);
        ASSERT_NE(e, nullptr);
        if (c.touch) {
            if (c.edit)
                e->moodSlider->setValue(70), Q_EMIT e->moodSlider->change();
            else
                e->titleEdit->setText(QStringLiteral("x"));
        }
        gMsgBoxSeam::reset();
        gMsgBoxSeam::setScripted(true);
        if (c.asked) {
            gMsgBoxSeam::pushAnswer(gMsgResult::No);
            EXPECT_FALSE(gChangeFrame(Page::Home));
            EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{c.asked});
            EXPECT_EQ(editor(), e);
            EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Writing));
            gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
        }
        EXPECT_TRUE(gChangeFrame(Page::Home));
        EXPECT_EQ(main_->pageIndex(), pageNumber(Page::Home));
        pumpEvents();
        EXPECT_EQ(editor(), nullptr);
    }
}

TEST_F(EditorPage, CancelGoesBackWhereTheEditorCameFrom) {
    frmNew* e = openEditor(true, false, true);
    e->cancelButton->click();
    ASSERT_EQ(visits.size(), 1);
    EXPECT_EQ(visits[0].name, QStringLiteral("frmReview"));
    EXPECT_TRUE(visits[0].setDiary);

    visits.clear();
    e = openEditor();
    e->titleEdit->setText(QStringLiteral("不要了"));
    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    QTest::mouseClick(e->cancelButton, Qt::LeftButton);
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::EntryNotEmptyDiscard});
    ASSERT_EQ(visits.size(), 1);
    EXPECT_EQ(visits[0].name, QStringLiteral("frmWelcome"));
    EXPECT_FALSE(visits[0].setDiary);
}

TEST_F(EditorPage, ClipboardQuoteFillsAFreshEntryOnly) {
    QApplication::clipboard()->setText(QStringLiteral("引用的一段话"));
    main_->mTClip->trigger();
    frmNew* e = editor();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->bodyEdit->text(), QStringLiteral("引用的一段话"));
    EXPECT_TRUE(e->titleEdit->text().isEmpty());

    // Kept on the prompt: the entry stays as it was.
    e->bodyEdit->setText(QStringLiteral("我自己写的"));
    QApplication::clipboard()->setText(QStringLiteral("另一段"));
    gMsgBoxSeam::pushAnswer(gMsgResult::No);
    main_->mTClip->trigger();
    EXPECT_EQ(editor(), e);
    EXPECT_EQ(e->bodyEdit->text(), QStringLiteral("我自己写的"));
}

TEST_F(EditorPage, ChangesAreTrackedAndTheSliderShowsItsValue) {
    frmNew* e = openEditor();
    EXPECT_FALSE(e->gChanged);
    e->titleEdit->setText(QStringLiteral("t"));
    EXPECT_TRUE(e->gChanged);
    e->gChanged = false;
    QTest::keyClicks(e->bodyEdit->box(), QStringLiteral("ab"));
    EXPECT_TRUE(e->gChanged);
    e->gChanged = false;
    e->resize(e->size()); // lay out
    const QRect thumb = e->moodSlider->rect();
    QTest::mouseClick(e->moodSlider, Qt::LeftButton, {},
                      QPoint(thumb.width() - gPx(330), thumb.center().y()));
    EXPECT_TRUE(e->gChanged);
    EXPECT_EQ(e->moodSlider->toolTip(), QString::number(e->moodSlider->value()));
    EXPECT_GT(e->moodSlider->value(), 90);
}

TEST_F(EditorPage, FirstLineBecomesTheTitle) {
    frmNew* e = openEditor();
    struct Case {
        QString body;
        QString title;
    };
    const Case cases[] = {
        {QStringLiteral("第一行\r\n第二行"), QStringLiteral("第一行")},
        {QString(), QString()},
        {QStringLiteral("\r\n后面"), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body.toStdString());
        e->titleEdit->setText(QStringLiteral("旧标题"));
        e->bodyEdit->setText(c.body);
        QTest::mouseClick(e->firstLineAsTitleLink, Qt::LeftButton);
        EXPECT_EQ(e->titleEdit->text(), c.title);
    }
    // A long first line is cut where the box wraps it.
    const QString longLine = QString(400, QChar(0x5b57));
    e->bodyEdit->setText(longLine);
    QTest::mouseClick(e->firstLineAsTitleLink, Qt::LeftButton);
    EXPECT_FALSE(e->titleEdit->text().isEmpty());
    EXPECT_LT(e->titleEdit->text().size(), longLine.size());
    EXPECT_TRUE(longLine.startsWith(e->titleEdit->text()));
    // A right click does nothing.
    e->titleEdit->setText(QStringLiteral("留"));
    QTest::mouseClick(e->firstLineAsTitleLink, Qt::RightButton);
    EXPECT_EQ(e->titleEdit->text(), QStringLiteral("留"));
}

TEST_F(EditorPage, TitleHasTheFocusAndEnterMovesToTheBody) {
    main_->show();
    main_->activateWindow();
    frmNew* e = openEditor();
    QApplication::setActiveWindow(main_);
    pumpEvents(10);
    EXPECT_TRUE(e->titleEdit->hasFocus());
    QTest::keyClick(e->titleEdit, Qt::Key_Return);
    EXPECT_TRUE(e->bodyEdit->box()->hasFocus());
}

TEST_F(EditorPage, LayoutFollowsThePageSize) {
    frmNew* e = openEditor();
    e->resize(800, 500); // 12000 x 7500 twips
    EXPECT_EQ(e->bodyEdit->geometry(), QRect(8, 96, 783, 365));
    EXPECT_EQ(e->titleEdit->width(), 725);
    EXPECT_EQ(e->moodSlider->width(), 431);
    EXPECT_EQ(e->saveButton->pos(), QPoint(638, 476));
    EXPECT_EQ(e->cancelButton->pos(), QPoint(718, 476));
    EXPECT_EQ(e->firstLineAsTitleLink->y(), 476);
    EXPECT_LE(e->draftNoticeLabel->geometry().right(), e->saveButton->x());
    // The page the main window placed fits its page area.
    EXPECT_TRUE(e->parentWidget()->rect().contains(main_->pageRect()));
}
