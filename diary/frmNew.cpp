#include "diary/frmNew.h"

#include "controls/scheduleSlider.h"
#include "controls/scheduleText.h"
#include "core/gClock.h"
#include "core/gDatabase.h"
#include "core/gError.h"
#include "core/gLinkLabel.h"
#include "core/gMsgBox.h"
#include "core/gOptions.h"
#include "core/gPageSwitch.h"
#include "core/gResources.h"
#include "core/gShared.h"
#include "core/gState.h"
#include "core/gTwips.h"
#include "core/gUserData.h"
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

    Image1 = makeLabel(this, "Image1", {}, gPxRect(120, 60, 480, 480));
    Image1->setPixmap(pagePicture(gPx(480)));
    Label1 = makeLabel(this, "Label1", QStringLiteral("记录"), gPxRect(720, 120, 3000, 420));
    QFont heading = Label1->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.5);
    Label1->setFont(heading);
    QPalette hp = Label1->palette();
    hp.setColor(QPalette::WindowText, kHeadingColor);
    Label1->setPalette(hp);

    Label4 = makeLabel(this, "Label4", QStringLiteral("标题(&T)："), gPxRect(120, 600, 870, kRowHeight));
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setGeometry(gPxRect(1005, 600, 4000, kRowHeight));
    Label4->setBuddy(Text2);

    Label5 = makeLabel(this, "Label5", QStringLiteral("日期(&D)："), gPxRect(120, 1020, 870, kRowHeight));
    DTPicker1 = new QDateEdit(this);
    DTPicker1->setObjectName(QStringLiteral("DTPicker1"));
    DTPicker1->setCalendarPopup(true);
    DTPicker1->setDisplayFormat(QStringLiteral("yyyy年M月d日"));
    DTPicker1->setGeometry(gPxRect(1005, 1020, 2100, kRowHeight));
    Label5->setBuddy(DTPicker1);

    Label3 = makeLabel(this, "Label3", QStringLiteral("心情(&H)："), gPxRect(4500, 1020, 870, kRowHeight));
    scheduleSlider1 = new scheduleSlider(this);
    scheduleSlider1->setObjectName(QStringLiteral("scheduleSlider1"));
    // Just under the title box: the slider's frame is taller than its face.
    scheduleSlider1->move(gPxPoint(5415, 600 + kRowHeight));
    scheduleSlider1->setFocusPolicy(Qt::StrongFocus);
    Label3->setBuddy(scheduleSlider1);

    Text1 = new scheduleText(this);
    Text1->setObjectName(QStringLiteral("Text1"));

    lblCmd1 = new gLinkLabel(QStringLiteral("第一行设置为标题"), this);
    lblCmd1->setObjectName(QStringLiteral("lblCmd1"));
    Label8 =
        makeLabel(this, "Label8", QStringLiteral("已经在用户文件夹保存了草稿。"), gPxRect(0, 0, 3600, 300));
    Label8->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette np = Label8->palette();
    np.setColor(QPalette::WindowText, QColor(0x5a, 0x6b, 0x7d));
    Label8->setPalette(np);
    Label8->setVisible(false);

    Command1 = new QPushButton(QStringLiteral("保存(&S)"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("取消"), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    Timer1 = new QTimer(this);
    Timer1->setInterval(60000);

    connect(Text2, &QLineEdit::textChanged, this, [this] { gChanged = true; });
    connect(Text1, &scheduleText::change, this, [this] { gChanged = true; });
    connect(scheduleSlider1, &scheduleSlider::change, this, [this] {
        gChanged = true;
        scheduleSlider1->setToolTip(QString::number(scheduleSlider1->value()));
    });
    connect(lblCmd1, &gLinkLabel::clicked, this, [this] { gGuard([this] { lblCmd1Click(); }); });
    connect(Command1, &QPushButton::clicked, this, [this] { gGuard([this] { Command1Click(); }); });
    connect(Command2, &QPushButton::clicked, this, [this] { gGuard([this] { Command2Click(); }); });
    connect(Timer1, &QTimer::timeout, this, [this] { gGuard([this] { Timer1Tick(); }); });
    Text2->installEventFilter(this);

    setTabOrder(Text2, DTPicker1);
    setTabOrder(DTPicker1, scheduleSlider1);
    setTabOrder(scheduleSlider1, Text1->box());
    setTabOrder(Text1->box(), Command1);
    setTabOrder(Command1, Command2);

    resize(gPxSize(10900, 6680));
}

frmNew::~frmNew() = default;

QString frmNew::draftFile() {
    return gDataPath + QStringLiteral("Diary.tmp");
}

void frmNew::formLoad() {
    gSetHandCursor(this);
    editMode_ = gEditMode;
    returnReview_ = gReturnReview;
    if (gOption(Option::DraftAutoSave)) {
        draftTicks_ = 0;
        Timer1->start();
    }
    if (gSetDiary) {
        DTPicker1->setDate(gDiaryDate);
        DTPicker1->setEnabled(!editMode_);
        if (editMode_) {
            // The review page filled the day's arrays; an index outside them
            // names no entry, and saving would overwrite whichever row it hit.
            if (gDayIndex < 1 || gDayIndex >= gDayTitles.size() || gDayIndex >= gDayRTFs.size() ||
                gDayIndex >= gDayScores.size()) {
                editMode_ = false;
                DTPicker1->setEnabled(true);
                try {
                    gRaise(gErr::SubscriptOutOfRange);
                } catch (...) {
                    gShowErrorBox(true);
                }
            } else {
                Text2->setText(gDayTitles[gDayIndex]);
                Text1->setTextRTF(gDayRTFs[gDayIndex]);
                // An entry stored without its rich text still has its plain text.
                if (Text1->text().isEmpty() && gDayIndex < gDayTexts.size() &&
                    !gDayTexts[gDayIndex].isEmpty())
                    Text1->setText(gDayTexts[gDayIndex]);
                scheduleSlider1->setValue(gDayScores[gDayIndex]);
                scheduleSlider1->setToolTip(QString::number(scheduleSlider1->value()));
            }
        }
        gSetDiary = false;
    } else {
        DTPicker1->setDate(gToday());
    }
    gChanged = false;
    offerDraft();
}

void frmNew::offerDraft() {
    const QString draft = draftFile();
    if (!QFile::exists(draft)) return;
    if (gMsgBox(Msg::DraftFound, gButtonSet::YesNo) != gMsgResult::Yes) return;
    if (QFileInfo(draft).size() > kMaxDraftBytes) {
        try {
            gRaise(gErr::PathFileAccess, QStringLiteral("草稿文件太大，无法读取：%1").arg(draft));
        } catch (...) {
            gShowErrorBox(true);
        }
        return;
    }
    if (!Text1->loadFile(draft)) {
        // The draft stays where it is: it may still be read some other way.
        try {
            gRaise(gErr::PathFileAccess, QStringLiteral("草稿文件无法读取：%1").arg(draft));
        } catch (...) {
            gShowErrorBox(true);
        }
        return;
    }
    // The draft stays until the entry is saved or the user leaves it: until
    // then it is the restored text's only copy on disk.
    draftRestored_ = true;
    // Leaving must ask before the restored text goes.
    gChanged = true;
}

void frmNew::formUnload() {
    Timer1->stop();
    // Unloaded after a save or after the user chose to leave the restored text.
    if (draftRestored_ && QFile::exists(draftFile())) QFile::remove(draftFile());
    // A pop-up editor of this body would have nowhere to give its text back.
    if (gPopUpOwner == Text1) forms::unload(QStringLiteral("frmPopUp"));
}

QString frmNew::titleText() const {
    return Text2->text();
}

QString frmNew::bodyText() const {
    return Text1->text();
}

void frmNew::setBodyText(const QString& text) {
    Text1->setText(text);
}

QDate frmNew::entryDate() const {
    return editMode_ ? gDiaryDate : DTPicker1->date();
}

void frmNew::lblCmd1Click() {
    Text2->setText(Text1->firstLine());
}

void frmNew::Timer1Tick() {
    draftTicks_ = static_cast<qint16>(draftTicks_ + 1);
    if (draftTicks_ < gAutoSaveInterval) return;
    draftTicks_ = 0;
    // While the body is out in the pop-up editor, the newest text is there.
    const scheduleText* body = Text1;
    if (gPopUpOwner == Text1) {
        if (auto* popUp = forms::find<frmPopUp>(QStringLiteral("frmPopUp"))) body = popUp->scheduleText1;
    }
    // The body in the clear: only its owner may read it. The same bytes the
    // body's own file saving writes.
    if (!gWriteOwnerOnly(draftFile(), body->textRTF().toLatin1()))
        gRaise(gErr::PathFileAccess, QStringLiteral("草稿无法保存：%1").arg(draftFile()));
    const QTime now = gNow().time();
    Label8->setText(QStringLiteral("%1点%2分在用户文件夹保存了草稿。")
                        .arg(now.hour(), 2, 10, QLatin1Char('0'))
                        .arg(now.minute(), 2, 10, QLatin1Char('0')));
    Label8->setVisible(true);
}

bool frmNew::writeEntry(const QDate& day) {
    const DiaryEntryText entry{Text2->text(), Text1->text(), Text1->textRTF(), scheduleSlider1->value()};
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
            diaryCount += 1;
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

void frmNew::Command1Click() {
    // While the body is out in the pop-up editor the newest text is there;
    // closing it gives the text back, so the checks and the row see it.
    if (gPopUpOwner == Text1) forms::unload(QStringLiteral("frmPopUp"));
    if (Text2->text().isEmpty()) {
        gMsgBox(Msg::TitleMissing, gButtonSet::Close);
        Text2->setFocus();
        return;
    }
    if (Text1->text().isEmpty()) {
        gMsgBox(Msg::EntryTextMissing, gButtonSet::Close);
        Text1->box()->setFocus();
        return;
    }
    if (Text2->text().size() >= 256) {
        gMsgBox(Msg::TitleTooLong, gButtonSet::Close);
        return;
    }
    if (!writeEntry(entryDate())) return;

    Text1->setText(QString());
    Text2->clear();
    if ((gOption(Option::DraftAutoSave) || draftRestored_) && QFile::exists(draftFile()))
        QFile::remove(draftFile());
    draftRestored_ = false;
    gChanged = false;
    // The switch unloads this page: nothing of it is touched afterwards.
    gChangeFrame(returnReview_ ? Page::Review : Page::Home, {.setDiary = true});
}

void frmNew::Command2Click() {
    if (returnReview_)
        gChangeFrame(Page::Review, {.setDiary = true});
    else
        gChangeFrame(Page::Home);
}

void frmNew::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    const int W = gTwips(width()), H = gTwips(height());
    scheduleSlider1->resize(gPx(qMax(630, W - 5535)), scheduleSlider1->height());
    Text2->setGeometry(gPxRect(1005, 600, qMax(300, W - 1125), kRowHeight));
    Text1->setGeometry(gPxRect(120, 1440, qMax(300, W - 255), qMax(300, H - 2025)));
    lblCmd1->setGeometry(gPxRect(120, H - 360, 2400, kButtonHeight));
    Command2->setGeometry(gPxRect(W - 1230, H - 360, kButtonWidth, kButtonHeight));
    Command1->setGeometry(gPxRect(W - 2430, H - 360, kButtonWidth, kButtonHeight));
    // The notice ends where the buttons begin.
    Label8->setGeometry(gPxRect(W - 2550 - 4200, H - 360, 4200, kButtonHeight));
}

void frmNew::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    Text2->setFocus();
}

bool frmNew::eventFilter(QObject* watched, QEvent* e) {
    if (watched == Text2 && e->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) Text1->box()->setFocus();
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
