#include "diary/frmNew.h"

#include "controls/scheduleSlider.h"
#include "controls/scheduleText.h"
#include "core/model/gClock.h"
#include "core/model/gDatabase.h"
#include "core/base/gError.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/ui/gPageSwitch.h"
#include "core/ui/gResources.h"
#include "core/ui/gShared.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "core/model/gUserData.h"
#include "diary/DiaryStore.h"
#include "diary/frmPopUp.h"

#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTimer>

namespace {
constexpr int kRowHeight = 345;
constexpr int kButtonWidth = 1095, kButtonHeight = 330;
// No draft the editor wrote comes near this; a bigger file is damaged or not ours.
constexpr qint64 kMaxDraftBytes = 4 * 1024 * 1024;
const QColor kHeadingColor(0x1f, 0x4f, 0x86);

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& r) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(r);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

QPixmap pagePicture(int sizePx) {
    return gRenderSvg(QStringLiteral(":/res/diary/editor.svg"), QSize(sizePx, sizePx));
}
} // namespace

frmNew::frmNew() {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    pageImage = makeLabel(this, "Image1", {}, gPxRect(120, 60, 480, 480));
    pageImage->setPixmap(pagePicture(gPx(480)));
    headingLabel = makeLabel(this, "Label1", QStringLiteral("记录"), gPxRect(720, 120, 3000, 420));
    QFont heading = headingLabel->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.5);
    headingLabel->setFont(heading);
    QPalette hp = headingLabel->palette();
    hp.setColor(QPalette::WindowText, kHeadingColor);
    headingLabel->setPalette(hp);

    titleCaption =
        makeLabel(this, "Label4", QStringLiteral("标题(&T)："), gPxRect(120, 600, 870, kRowHeight));
    titleEdit = new QLineEdit(this);
    titleEdit->setObjectName(QStringLiteral("Text2"));
    titleEdit->setGeometry(gPxRect(1005, 600, 4000, kRowHeight));
    titleCaption->setBuddy(titleEdit);

    dateCaption =
        makeLabel(this, "Label5", QStringLiteral("日期(&D)："), gPxRect(120, 1020, 870, kRowHeight));
    datePicker = new QDateEdit(this);
    datePicker->setObjectName(QStringLiteral("DTPicker1"));
    datePicker->setCalendarPopup(true);
    datePicker->setDisplayFormat(QStringLiteral("yyyy年M月d日"));
    datePicker->setGeometry(gPxRect(1005, 1020, 2100, kRowHeight));
    dateCaption->setBuddy(datePicker);

    moodCaption =
        makeLabel(this, "Label3", QStringLiteral("心情(&H)："), gPxRect(4500, 1020, 870, kRowHeight));
    moodSlider = new scheduleSlider(this);
    moodSlider->setObjectName(QStringLiteral("scheduleSlider1"));
    // Just under the title box: the slider's frame is taller than its face.
    moodSlider->move(gPxPoint(5415, 600 + kRowHeight));
    moodSlider->setFocusPolicy(Qt::StrongFocus);
    moodCaption->setBuddy(moodSlider);

    bodyEdit = new scheduleText(this);
    bodyEdit->setObjectName(QStringLiteral("Text1"));
    // Tab goes on to 保存 as it does from every other box of the page (Ctrl+Tab
    // types a tab), so the keyboard is never caught in the body.
    bodyEdit->box()->setTabChangesFocus(true);

    firstLineAsTitleLink = new gLinkLabel(QStringLiteral("第一行设置为标题"), this);
    firstLineAsTitleLink->setObjectName(QStringLiteral("lblCmd1"));
    draftNoticeLabel =
        makeLabel(this, "Label8", QStringLiteral("已经在用户文件夹保存了草稿。"), gPxRect(0, 0, 3600, 300));
    draftNoticeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette np = draftNoticeLabel->palette();
    np.setColor(QPalette::WindowText, QColor(0x5a, 0x6b, 0x7d));
    draftNoticeLabel->setPalette(np);
    draftNoticeLabel->setVisible(false);

    saveButton = new QPushButton(QStringLiteral("保存(&S)"), this);
    saveButton->setObjectName(QStringLiteral("Command1"));
    cancelButton = new QPushButton(QStringLiteral("取消"), this);
    cancelButton->setObjectName(QStringLiteral("Command2"));

    draftTimer = new QTimer(this);
    draftTimer->setInterval(60000);

    connect(titleEdit, &QLineEdit::textChanged, this, [this] { gChanged = true; });
    connect(bodyEdit, &scheduleText::change, this, [this] { gChanged = true; });
    connect(moodSlider, &scheduleSlider::change, this, [this] {
        gChanged = true;
        moodSlider->setToolTip(QString::number(moodSlider->value()));
    });
    connect(firstLineAsTitleLink, &gLinkLabel::clicked, this,
            [this] { gGuard([this] { firstLineAsTitleLink_Click(); }); });
    connect(saveButton, &QPushButton::clicked, this, [this] { gGuard([this] { saveButton_Click(); }); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { gGuard([this] { cancelButton_Click(); }); });
    connect(draftTimer, &QTimer::timeout, this, [this] { gGuard([this] { draftTimer_Timer(); }); });
    titleEdit->installEventFilter(this);

    setTabOrder(titleEdit, datePicker);
    setTabOrder(datePicker, moodSlider);
    setTabOrder(moodSlider, bodyEdit->box());
    setTabOrder(bodyEdit->box(), saveButton);
    setTabOrder(saveButton, cancelButton);

    resize(gPxSize(10900, 6680));
}

frmNew::~frmNew() = default;

QString frmNew::draftFile() {
    return gDataPath + QStringLiteral("Diary.tmp");
}

void frmNew::formLoad() {
    gSetHandCursor(this);
    const PageFlags flags = gPageFlags();
    editMode_ = flags.editMode;
    returnReview_ = flags.returnReview;
    if (gOption(Option::DraftAutoSave)) {
        draftTicks_ = 0;
        draftTimer->start();
    }
    if (gSetDiary) {
        datePicker->setDate(gDiaryDate);
        datePicker->setEnabled(!editMode_);
        if (editMode_) {
            // The review page filled the day's arrays; an index outside them
            // names no entry, and saving would overwrite whichever row it hit.
            if (gDayIndex < 1 || gDayIndex >= gDayTitles.size() || gDayIndex >= gDayRTFs.size() ||
                gDayIndex >= gDayScores.size()) {
                editMode_ = false;
                datePicker->setEnabled(true);
                gShowErrorBox(gRuntimeError(gErr::SubscriptOutOfRange, gErrorText(gErr::SubscriptOutOfRange)),
                              true);
            } else {
                titleEdit->setText(gDayTitles[gDayIndex]);
                bodyEdit->setTextRTF(gDayRTFs[gDayIndex]);
                // An entry stored without its rich text still has its plain text.
                if (bodyEdit->text().isEmpty() && gDayIndex < gDayTexts.size() &&
                    !gDayTexts[gDayIndex].isEmpty())
                    bodyEdit->setText(gDayTexts[gDayIndex]);
                moodSlider->setValue(gDayScores[gDayIndex]);
                moodSlider->setToolTip(QString::number(moodSlider->value()));
            }
        }
        gSetDiary = false;
    } else {
        datePicker->setDate(gToday());
    }
    gChanged = false;
    offerDraft();
}

void frmNew::offerDraft() {
    const QString draft = draftFile();
    if (!QFile::exists(draft)) return;
    if (gMsgBox(Msg::DraftFound, gButtonSet::YesNo) != gMsgResult::Yes) return;
    if (QFileInfo(draft).size() > kMaxDraftBytes) {
        gShowErrorBox(
            gRuntimeError(gErr::PathFileAccess, QStringLiteral("草稿文件太大，无法读取：%1").arg(draft)),
            true);
        return;
    }
    if (!bodyEdit->loadFile(draft)) {
        // The draft stays where it is: it may still be read some other way.
        gShowErrorBox(gRuntimeError(gErr::PathFileAccess, QStringLiteral("草稿文件无法读取：%1").arg(draft)),
                      true);
        return;
    }
    // The draft stays until the entry is saved or the user leaves it: until
    // then it is the restored text's only copy on disk.
    draftRestored_ = true;
    // Leaving must ask before the restored text goes.
    gChanged = true;
}

void frmNew::formUnload() {
    draftTimer->stop();
    // Unloaded after a save or after the user chose to leave the text: a draft
    // restored or written here has nothing left to keep.
    if ((draftRestored_ || draftWritten_) && QFile::exists(draftFile())) QFile::remove(draftFile());
    // A pop-up editor of this body would have nowhere to give its text back.
    if (gPopUpOwner == bodyEdit) forms::unload(Form::frmPopUp);
}

QString frmNew::titleText() const {
    return titleEdit->text();
}

QString frmNew::bodyText() const {
    return bodyEdit->text();
}

void frmNew::setBodyText(const QString& text) {
    bodyEdit->setText(text);
}

QDate frmNew::entryDate() const {
    return editMode_ ? gDiaryDate : datePicker->date();
}

void frmNew::firstLineAsTitleLink_Click() {
    titleEdit->setText(bodyEdit->firstLine());
}

void frmNew::draftTimer_Timer() {
    draftTicks_ = static_cast<qint16>(draftTicks_ + 1);
    if (draftTicks_ < gAutoSaveInterval) return;
    draftTicks_ = 0;
    if (!gSaveDraft()) gRaise(gErr::PathFileAccess, QStringLiteral("草稿无法保存：%1").arg(draftFile()));
}

bool frmNew::gSaveDraft() {
    // While the body is out in the pop-up editor, the newest text is there.
    const scheduleText* body = bodyEdit;
    if (gPopUpOwner == bodyEdit) {
        if (auto* popUp = forms::find<frmPopUp>(Form::frmPopUp)) body = popUp->textEdit;
    }
    // The body in the clear: only its owner may read it. The same bytes the
    // body's own file saving writes.
    if (!gWriteOwnerOnly(draftFile(), body->textRTF().toLatin1())) return false;
    draftWritten_ = true;
    const QTime now = gNow().time();
    draftNoticeLabel->setText(QStringLiteral("%1点%2分在用户文件夹保存了草稿。")
                                  .arg(now.hour(), 2, 10, QLatin1Char('0'))
                                  .arg(now.minute(), 2, 10, QLatin1Char('0')));
    draftNoticeLabel->setVisible(true);
    return true;
}

bool frmNew::writeEntry(const QDate& day) {
    const DiaryEntryText entry{titleEdit->text(), bodyEdit->text(), bodyEdit->textRTF(), moodSlider->value()};
    int dayCount = gDayCount;
    int dayIndex = gDayIndex;
    long diaryCount = gDiaryCount;
    long scoreTotal = gScoreTotal;
    try {
        DiaryStore store(gConnection);
        if (editMode_) {
            scoreTotal = store.update(day, gDayIndex, entry, scoreTotal);
        } else {
            const DiaryStore::Added added = store.add(day, entry, scoreTotal);
            dayCount = added.dayCount;
            dayIndex = dayCount;
            // A count not taken yet will see the new row.
            if (diaryCount != kDiaryCountPending) diaryCount += 1;
            scoreTotal = added.scoreTotal;
        }
    } catch (...) {
        // The entry stays in the editor, so nothing the user wrote is lost.
        gShowErrorBox(true);
        return false;
    }
    gDiaryDate = day;
    gDayCount = dayCount;
    gDayIndex = dayIndex;
    gDiaryCount = diaryCount;
    gScoreTotal = scoreTotal;
    return true;
}

void frmNew::saveButton_Click() {
    // While the body is out in the pop-up editor the newest text is there;
    // closing it gives the text back, so the checks and the row see it.
    if (gPopUpOwner == bodyEdit) forms::unload(Form::frmPopUp);
    if (titleEdit->text().isEmpty()) {
        gMsgBox(Msg::TitleMissing, gButtonSet::Close);
        titleEdit->setFocus();
        return;
    }
    if (bodyEdit->text().isEmpty()) {
        gMsgBox(Msg::EntryTextMissing, gButtonSet::Close);
        bodyEdit->box()->setFocus();
        return;
    }
    if (titleEdit->text().size() >= 256) {
        gMsgBox(Msg::TitleTooLong, gButtonSet::Close);
        return;
    }
    if (!writeEntry(entryDate())) return;

    bodyEdit->setText(QString());
    titleEdit->clear();
    if ((gOption(Option::DraftAutoSave) || draftRestored_ || draftWritten_) && QFile::exists(draftFile()))
        QFile::remove(draftFile());
    draftRestored_ = false;
    draftWritten_ = false;
    gChanged = false;
    // The switch unloads this page: nothing of it is touched afterwards.
    gChangeFrame(returnReview_ ? Page::Review : Page::Home, {.setDiary = true});
}

void frmNew::cancelButton_Click() {
    if (returnReview_)
        gChangeFrame(Page::Review, {.setDiary = true});
    else
        gChangeFrame(Page::Home);
}

void frmNew::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    const int W = gTwips(width()), H = gTwips(height());
    moodSlider->resize(gPx(qMax(630, W - 5535)), moodSlider->height());
    titleEdit->setGeometry(gPxRect(1005, 600, qMax(300, W - 1125), kRowHeight));
    bodyEdit->setGeometry(gPxRect(120, 1440, qMax(300, W - 255), qMax(300, H - 2025)));
    firstLineAsTitleLink->setGeometry(gPxRect(120, H - 360, 2400, kButtonHeight));
    cancelButton->setGeometry(gPxRect(W - 1230, H - 360, kButtonWidth, kButtonHeight));
    saveButton->setGeometry(gPxRect(W - 2430, H - 360, kButtonWidth, kButtonHeight));
    // The notice ends where the buttons begin.
    draftNoticeLabel->setGeometry(gPxRect(W - 2550 - 4200, H - 360, 4200, kButtonHeight));
}

void frmNew::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    titleEdit->setFocus();
}

bool frmNew::eventFilter(QObject* watched, QEvent* e) {
    if (watched == titleEdit && e->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) bodyEdit->box()->setFocus();
    }
    return QWidget::eventFilter(watched, e);
}

void frmNew::paintEvent(QPaintEvent* e) {
    QWidget::paintEvent(e);
    QPainter p(this);
    p.setPen(QColor(0xc9, 0xdb, 0xef));
    const int y = gPx(555);
    p.drawLine(gPx(120), y, width() - gPx(120), y);
}
