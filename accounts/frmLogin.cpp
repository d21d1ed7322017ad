#include "accounts/frmLogin.h"

#include "accounts/gAccountRules.h"
#include "accounts/gAccountWindow.h"
#include "core/model/DiarySummaryStore.h"
#include "core/model/clsMD5.h"
#include "core/model/clsSchedule.h"
#include "core/model/gDatabase.h"
#include "core/ui/gDialogKeys.h"
#include "core/base/gError.h"
#include "core/model/gFiles.h"
#include "core/ui/gFormParts.h"
#include "core/ui/gMain.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"
#include "core/model/gState.h"
#include "core/ui/gShellApi.h"
#include "core/ui/gTwips.h"
#include "core/model/gUserData.h"
#include "core/ui/gUserDataUi.h"
#include "core/ui/gWarmUp.h"
#include "core/model/gWeek.h"
#include "platform/dialogs.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace {
constexpr int kPanelTop = 1020, kPanelHeight = 2100;
constexpr int kButtonTop = 3300;

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& r) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    l->setGeometry(r);
    return l;
}

// The key file dialog's two entries, captions as the user sees them.
const QString kKeyFileFilter = QStringLiteral("密匙文件 (*.eky)|*.eky|所有文件 (*.*)|*.*");

// What an imported key brings must be usable: a digest as the sign-in makes them
// and a record key of one to seven digits. Saved, anything else would refuse
// even the right password before the import could be offered again.
bool usableKey(const QString& hash, const QString& recordKey) {
    const bool digestForm = hash.size() == 32 && std::all_of(hash.cbegin(), hash.cend(), [](QChar c) {
                                return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                                       (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
                            });
    return digestForm && gIsRecordKey(recordKey);
}

// Whether a file could be an encrypted database of ours at all. Such a file is
// whole pages of at least 512 bytes, and it never begins with the header of an
// unencrypted one. Anything else is damaged, whatever key is tried.
bool couldBeDatabase(const QString& file) {
    const QFileInfo info(file);
    if (!info.isFile()) return false;
    if (info.size() == 0 || info.size() % 512 != 0) return false;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return true; // the open says what is wrong
    return f.read(16) != QByteArray("SQLite format 3\0", 16);
}

// The typed password and the current record key open the database file.
bool opensDatabase(const QString& typed) {
    try {
        if (!gPasswordMatches(typed, gPasswordHash)) return false;
        db::Connection c;
        c.open(gDatabaseFile, gMakeDbPassword(typed), true);
        c.close();
        return true;
    } catch (...) {
        return false;
    }
}

QLineEdit* makeBox(QWidget* parent, const char* name, const QRect& r) {
    auto* t = new QLineEdit(parent);
    t->setObjectName(QLatin1String(name));
    t->setGeometry(r);
    return t;
}
} // namespace

frmLogin::frmLogin(QWidget* parent) : QWidget(parent) {
    gSetUpAccountWindow(this, QStringLiteral("用户登陆"), kClientWidth, kClientHeight, true);

    // Password alone.
    passwordOnlyPanel = new QWidget(this);
    passwordOnlyPanel->setObjectName(QStringLiteral("Frame2"));
    passwordOnlyPanel->setGeometry(gPxRect(0, kPanelTop, kClientWidth, kPanelHeight));
    pictureLabel = makeLabel(passwordOnlyPanel, "Image4", {}, gPxRect(360, 60, 1080, 1080));
    pictureLabel->setScaledContents(true);
    pictureLabel->setCursor(gLoadResCursor(Res::HandCursor));
    nameLabel = makeLabel(passwordOnlyPanel, "Label2", {}, gPxRect(1680, 60, 3960, 330));
    QFont bold = nameLabel->font();
    bold.setBold(true);
    nameLabel->setFont(bold);
    passwordPromptLabel =
        makeLabel(passwordOnlyPanel, "Label1", QStringLiteral("如果需要，请键入密码，再单击“确定”。"),
                  gPxRect(1680, 450, 3960, 330));
    passwordOnlyEdit = makeBox(passwordOnlyPanel, "Text1", gPxRect(1680, 900, 3300, 345));
    noPasswordLabel = makeLabel(passwordOnlyPanel, "Label5", QStringLiteral("单击“确定”登陆 Rededera。"),
                                gPxRect(1680, 900, 3960, 345));
    noPasswordLabel->setVisible(false);

    // Name and password.
    namePasswordPanel = new QWidget(this);
    namePasswordPanel->setObjectName(QStringLiteral("Frame1"));
    namePasswordPanel->setGeometry(gPxRect(0, kPanelTop, kClientWidth, kPanelHeight));
    promptLabel = makeLabel(namePasswordPanel, "Label3", QStringLiteral("键入用户名和密码，再单击“确定”。"),
                            gPxRect(360, 60, 5280, 330));
    nameCaption =
        makeLabel(namePasswordPanel, "Label9", QStringLiteral("用户："), gPxRect(600, 600, 1080, 345));
    nameEdit = makeBox(namePasswordPanel, "Text3", gPxRect(1800, 600, 3300, 345));
    gTipWhenCut(nameEdit);
    passwordCaption =
        makeLabel(namePasswordPanel, "Label10", QStringLiteral("密码："), gPxRect(600, 1110, 1080, 345));
    passwordEdit = makeBox(namePasswordPanel, "Text4", gPxRect(1800, 1110, 3300, 345));
    nameCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    passwordCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    nameCaption->setBuddy(nameEdit);
    passwordCaption->setBuddy(passwordEdit);

    passwordOnlyEdit->setEchoMode(QLineEdit::Password);
    passwordEdit->setEchoMode(QLineEdit::Password);
    gUsePasswordFilter(passwordOnlyEdit);
    gUsePasswordFilter(passwordEdit);

    gAddOkCancel(this, kClientWidth, kButtonTop, okButton, cancelButton);

    setTabOrder(passwordOnlyEdit, nameEdit);
    setTabOrder(nameEdit, passwordEdit);
    setTabOrder(passwordEdit, okButton);
    setTabOrder(okButton, cancelButton);

    connect(okButton, &QPushButton::clicked, this, [this] { gGuard([this] { okButton_Click(); }); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { gGuard([this] { cancelButton_Click(); }); });
}

frmLogin::~frmLogin() = default;

void frmLogin::formLoad() {
    if (gHasResPicture(gResKind::Bitmap, Res::SignInBackground))
        background_ = gLoadResPicture(Res::SignInBackground);
    passwordOnlyEdit->clear();
    const bool passwordOnly = gOption(Option::PasswordOnlySignIn);
    passwordOnlyPanel->setVisible(passwordOnly);
    namePasswordPanel->setVisible(!passwordOnly);
    gSetNameText(nameLabel, gUserName);
    passwordOnly_ = passwordOnly;
    pictureLabel->setPixmap(gLoadUserPicture(gPictureIndex));
    if (gPasswordHash == QLatin1String(clsMD5::kEmptyDigest)) {
        passwordOnlyEdit->setVisible(false);
        noPasswordLabel->setVisible(true);
    }
}

void frmLogin::paintEvent(QPaintEvent* e) {
    QWidget::paintEvent(e);
    // While the password is typed, the main window is readied.
    gWarmUpLater(this);
    if (background_.isNull()) return;
    QPainter p(this);
    p.drawPixmap(0, 0, background_);
}

void frmLogin::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (passwordOnlyPanel->isVisible()) {
        if (passwordOnlyEdit->isVisible() && passwordOnlyEdit->isEnabled())
            passwordOnlyEdit->setFocus();
        else
            okButton->setFocus();
    } else if (nameEdit->text().isEmpty()) {
        nameEdit->setFocus();
    } else {
        passwordEdit->setFocus();
    }
}

void frmLogin::closeEvent(QCloseEvent* e) {
    e->ignore();
    gGuard([this] { forms::unload(this); });
}

bool frmLogin::cmd1Click() {
    if (!gOption(Option::PasswordOnlySignIn)) nameEdit->setText(gUserName);
    return signIn();
}

void frmLogin::okButton_Click() {
    signIn();
}

void frmLogin::cancelButton_Click() {
    forms::unload(this);
}

void frmLogin::enableBoxes() {
    passwordOnlyEdit->setEnabled(true);
    nameEdit->setEnabled(true);
    passwordEdit->setEnabled(true);
}

bool frmLogin::signIn() {
    passwordOnlyEdit->setEnabled(false);
    nameEdit->setEnabled(false);
    passwordEdit->setEnabled(false);

    auto refuseName = [this] {
        nameEdit->setEnabled(true);
        passwordEdit->setEnabled(true);
        gMsgBox(Msg::SignInRejected, gButtonSet::Close);
        passwordEdit->clear();
        nameEdit->setFocus();
        nameEdit->selectAll();
    };
    if (passwordOnly_) {
        if (!gPasswordMatches(passwordOnlyEdit->text(), gPasswordHash)) {
            gMsgBox(Msg::SignInRejected, gButtonSet::Close);
            passwordOnlyEdit->setEnabled(true);
            passwordOnlyEdit->setFocus();
            passwordOnlyEdit->selectAll();
            return false;
        }
    } else {
        nameEdit->setText(nameEdit->text().trimmed());
        if (!gSameAccountName(nameEdit->text(), gUserName) ||
            !gPasswordMatches(passwordEdit->text(), gPasswordHash)) {
            refuseName();
            return false;
        }
    }

    QLineEdit* box = passwordOnly_ ? passwordOnlyEdit : passwordEdit;
    const QString typed = box->text();
    box->clear();

    QString dbPassword;
    try {
        dbPassword = gMakeDbPassword(typed);
    } catch (...) {
        // Cannot happen for a password whose digest matched; refuse it all the same.
        if (passwordOnly_) {
            gMsgBox(Msg::SignInRejected, gButtonSet::Close);
            passwordOnlyEdit->setEnabled(true);
            passwordOnlyEdit->setFocus();
        } else {
            refuseName();
        }
        return false;
    }

    movedAside_.clear();
    movedJournal_.clear();
    for (;;) {
        bool isNew = false;
        // An empty file holds nothing: it is made afresh like a missing one.
        if (const QFileInfo info(gDatabaseFile); info.isFile() && !info.isSymLink() && info.size() == 0)
            QFile::remove(gDatabaseFile);
        // One the system keeps from us may be whole: say why, and touch nothing.
        if (const QString reason = gFileProblem(gDatabaseFile); !reason.isEmpty()) {
            refusedRoad(reason);
            return false;
        }
        if (!QFileInfo::exists(gDatabaseFile)) {
            try {
                gCreateDatabase(gDatabaseFile, dbPassword);
                isNew = true;
            } catch (...) {
                putDatabaseBack();
                gMsgBox(Msg::RecordFileUnopenable, gButtonSet::Close);
                forms::unload(this);
                return false;
            }
            if (!movedAside_.isEmpty()) {
                gMsgBox(Msg::RecordFileSavedAside, gButtonSet::Close, movedAside_);
                movedAside_.clear();
                movedJournal_.clear();
            }
        } else if (!couldBeDatabase(gDatabaseFile)) {
            if (damagedRoad() != Road::Retry) return false;
            continue;
        }

        bool failed = false;
        int error = 0;
        try {
            gOpenDatabase(gDatabaseFile, dbPassword);
            DiarySummaryStore summary(gConnection);
            // The new database normally has its row already; never add a second.
            if (isNew) summary.addSettingsRowIfMissing();
            // The home page counts the entries once it is shown; a new database has none.
            summary.checkDateIndex();
            gDiaryCount = isNew ? 0 : kDiaryCountPending;
            gScoreTotal = summary.scoreTotal();
        } catch (...) {
            failed = true;
            error = gCurrentError().number();
            // Say which table or column the file lacks before the sign-in gives up.
            if (error == db::err::SchemaMismatch) gShowErrorBox(true);
        }
        if (!failed) break;
        const Road road = failureRoad(error, typed);
        if (road != Road::Retry) return false;
    }

    // The account is open. What follows reports its errors and goes on, so that
    // the program still reaches its main window.
    // A new model: when this account's timetable cannot be read, no earlier
    // account's stays in its place, and today's list follows the model.
    gTimetable = clsSchedule();
    try {
        gTimetable.gGetSchedule();
    } catch (...) {
        gShowErrorBox(true);
    }
    try {
        gBuildTodayCourses();
    } catch (...) {
        gShowErrorBox(true);
    }
    // The class reminder, then today's classes or the main window, which the shell builds.
    if (gShellWindows* shell = gShellWindows::registered()) shell->openSignedIn();
    forms::unload(this);
    return true;
}

bool frmLogin::moveDatabaseAside() {
    const QString copy = gMoveToFreeOldName(gDatabaseFile);
    if (copy.isEmpty()) return false;
    movedAside_ = copy;
    movedJournal_.clear();
    // A journal belongs to its database: apart, either would be damaged.
    const QString journal = gDatabaseFile + QStringLiteral("-journal");
    if (QFileInfo::exists(journal) && gRenameNoReplace(journal, copy + QStringLiteral("-journal")))
        movedJournal_ = copy + QStringLiteral("-journal");
    return true;
}

void frmLogin::putDatabaseBack() {
    if (movedAside_.isEmpty()) return;
    if (gRenameNoReplace(movedAside_, gDatabaseFile)) {
        if (!movedJournal_.isEmpty())
            gRenameNoReplace(movedJournal_, gDatabaseFile + QStringLiteral("-journal"));
    } else {
        // It stays where it went; the user must know where that is.
        gMsgBox(Msg::RecordFileSavedAside, gButtonSet::Close, movedAside_);
    }
    movedAside_.clear();
    movedJournal_.clear();
}

frmLogin::Road frmLogin::damagedRoad() {
    gCloseDatabase();
    if (gMsgBox(Msg::RecordFileDamaged, gButtonSet::OkCancel, gDatabaseFile) != gMsgResult::OK) {
        forms::unload(this);
        return Road::Stop;
    }
    if (!moveDatabaseAside()) {
        gMsgBox(Msg::RecordFileUnopenable, gButtonSet::Close);
        forms::unload(this);
        return Road::Stop;
    }
    return Road::Retry;
}

void frmLogin::refusedRoad(const QString& reason) {
    gCloseDatabase();
    gMsgBox(Msg::RecordFileRefused, gButtonSet::Close, gDatabaseFile, reason);
    forms::unload(this);
}

frmLogin::Road frmLogin::failureRoad(int error, const QString& typed) {
    // Neither a new key nor a new database may meet a file the program still holds.
    gCloseDatabase();
    if (error == db::err::Damaged) return damagedRoad();
    if (error != db::err::WrongKey) {
        // The system may have refused the file since the check before the open.
        if (const QString reason = gFileProblem(gDatabaseFile); !reason.isEmpty()) {
            refusedRoad(reason);
            return Road::Stop;
        }
        gMsgBox(Msg::RecordFileUnopenable, gButtonSet::Close);
        forms::unload(this);
        return Road::Stop;
    }
    for (;;) {
        switch (gMsgBox(Msg::RecordKeyInvalid, gButtonSet::ImportRecreateCancel, gUserName)) {
        case gMsgResult::First: {
            const QString file = chooseKeyFile();
            if (file.isEmpty()) continue;
            const QString oldHash = gPasswordHash;
            const QString oldKey = gRecordKey;
            // Saved unchecked, a key that does not fit would refuse even the
            // right password from then on.
            if (!ReadKeyFile(file) || !usableKey(gPasswordHash, gRecordKey) || !opensDatabase(typed)) {
                gPasswordHash = oldHash;
                gRecordKey = oldKey;
                gMsgBox(Msg::KeyFileInvalid, gButtonSet::Close);
                continue;
            }
            if (!gSaveUserData()) {
                // Memory must agree with the profile on disk, or a recreate
                // would key the database with a record key nobody has.
                gPasswordHash = oldHash;
                gRecordKey = oldKey;
                gShowErrorBox(gRuntimeError(gErr::PathFileAccess, gErrorText(gErr::PathFileAccess)), true);
                continue;
            }
            gMsgBox(Msg::KeyImported, gButtonSet::Close);
            forms::unload(this);
            Main();
            return Road::Stop;
        }
        case gMsgResult::Second:
            // The file is renamed in one step, so it is never lost in between.
            if (!moveDatabaseAside()) {
                gMsgBox(Msg::RecordFileUnopenable, gButtonSet::Close);
                forms::unload(this);
                return Road::Stop;
            }
            // Message 116 names the copy once the new database exists.
            return Road::Retry;
        case gMsgResult::Third:
            forms::unload(this);
            return Road::Stop;
        default:
            enableBoxes();
            return Road::Stay;
        }
    }
}

QString frmLogin::chooseKeyFile() {
    return dialogs::getOpenFileName(isVisible() ? this : nullptr, QStringLiteral("打开"), {}, kKeyFileFilter);
}
