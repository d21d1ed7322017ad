// Files that went wrong, met the way a user meets them: the program starts,
// the password is typed and 确定 pressed, and the program's own boxes are
// answered with their buttons. Afterwards every file in the user folder is as
// it was, unless the user chose to set one aside.
#include "accountsFixture.h"

#include "accounts/frmLogin.h"
#include "core/model/gDatabase.h"
#include "core/model/gFiles.h"
#include "core/ui/gMain.h"
#include "core/model/gOptions.h"
#include "core/model/gUserData.h"
#include "platform/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QTest>

#include <cerrno>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kKey = QStringLiteral("1234567");
const QString kPassword = QStringLiteral("secret");

// The places of one case, and what its damage needs to know.
struct Places {
    QString home;    // outside the user folder
    QString folder;  // the user folder, ending with "/"
    QString profile; // Userdata.ini
    QString db;      // Userdata.dat
    QString other;   // the folder the user may choose instead, ending with "/"
    QString gone;    // where a link to nothing points
};

// Everything in a folder as it stands: each entry's mode and bytes (a link: its target).
QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QByteArray entry = QByteArray::number(fileMode(path), 8) + ' ';
        if (info.isSymLink())
            entry += "link " + QFile::encodeName(info.symLinkTarget());
        else if (info.isDir())
            entry += "folder";
        else
            entry += readFile(path);
        files.insert(QDir(folder).relativeFilePath(path), entry);
    }
    return files;
}

void cut(const QString& file, qint64 size) {
    ASSERT_TRUE(QFile::resize(file, size));
}

// The first page of a table or index, counted from 1.
long rootPage(const QString& file, const QString& name) {
    db::Connection c;
    c.open(file, gMakeDbPassword(kPassword));
    db::Recordset rs;
    rs.open(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = '%1'").arg(name), c);
    return rs.integer(QStringLiteral("rootpage"));
}

// A page in the middle of the file no longer reads back: some of its bytes
// overwritten. The date index's, which the sign-in reads to count the entries.
void spoilPage(const QString& file) {
    const long page = rootPage(file, QStringLiteral("Index"));
    ASSERT_GT(page, 1);
    ASSERT_LT(page * 1024, QFileInfo(file).size());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.seek((page - 1) * 1024 + 100));
    f.write(QByteArray(16, 'X'));
}

void linkToNothing(const QString& file, const QString& target) {
    QFile::remove(file);
    ASSERT_TRUE(QFile::link(target, file));
}

// How the start ends.
enum class End { Nothing, AccountCreation, AccountCreationElsewhere, SignedIn };

struct DamageCase {
    const char* name;
    // Changes what the files hold (before the snapshot).
    std::function<void(const Places&)> damage;
    // Makes the system refuse them (after the snapshot; undone before comparing).
    std::function<void(const Places&)> refuse;
    bool modes;  // the refusal is a file mode, which root passes
    bool signIn; // the start reaches the sign-in window: the password is typed and 确定 pressed
    QStringList presses;
    const char* folderChosen; // the folder browser's answer: nullptr never asked, "" cancelled, "other"
    // What the user is told, box by box: text (%F folder, %P profile, %D record file,
    // %T the link's target) and buttons.
    QList<RealBoxes::Seen> told;
    End end;
    // The file set aside, and its new name (both in the user folder); nullptr for none.
    const char* movedFrom;
    const char* movedTo;
};

// The texts as the user reads them.
const QString kFolderUnusable =
    QStringLiteral("用户文件夹 \"%F\" 无法使用：%R。\nRededera 无法启动。\n请指定另外一个存放位置。");
const QString kProfileUnreadable =
    QStringLiteral("帐户配置文件 \"%P\" 无法读取：%R。\nRededera 无法启动。\n请指定另外一个存放位置。");
const QString kProfileBroken =
    QStringLiteral("帐户配置文件错误。\nSchedule 无法启动。\n重新创建或者指定另外一个存放位置。");
const QString kConfirmRecreate =
    QStringLiteral("单击“确定”将重新创建账户配置文件。\n注意：用户记录文件将无法打开。");
const QString kRecordRefused = QStringLiteral("记录文件 \"%D\" 无法打开：%R。");
const QString kRecordDamaged =
    QStringLiteral("记录文件 \"%D\" 已损坏，无法打开。\n单击“确定”将把它另存为副本，并重新创建记录文件。");
const QStringList kLocateClose{QStringLiteral("指定位置"), QStringLiteral("关闭")};
const QStringList kClose{QStringLiteral("关闭")};
const QStringList kOkCancel{QStringLiteral("确定"), QStringLiteral("取消")};

RealBoxes::Seen box(QString text, const QString& reason, QStringList buttons) {
    return {text.replace(QStringLiteral("%R"), reason), std::move(buttons)};
}

const QString kDenied = QStringLiteral("没有访问权限");
const QString kReadOnlyFs = QStringLiteral("文件系统是只读的");
const QString kToNothing = QStringLiteral("符号链接指向的 \"%T\" 不存在");

void chmodTo(const QString& path, int mode) {
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0) << path.toStdString();
}

// clang-format off
const DamageCase kCases[] = {
    {"WholeFilesSignIn", nullptr, nullptr, false, true, {}, nullptr, {}, End::SignedIn, nullptr, nullptr},

    // The user folder
    {"FolderOfMode000", nullptr, [](const Places& p) { chmodTo(p.folder, 0); }, true, false,
     {"关闭"}, nullptr, {box(kFolderUnusable, kDenied, kLocateClose)}, End::Nothing, nullptr, nullptr},
    {"FolderOfMode0500", nullptr, [](const Places& p) { chmodTo(p.folder, 0500); }, true, false,
     {"关闭"}, nullptr, {box(kFolderUnusable, kDenied, kLocateClose)}, End::Nothing, nullptr, nullptr},
    {"FolderOfMode000NoOtherChosen", nullptr, [](const Places& p) { chmodTo(p.folder, 0); }, true, false,
     {"指定位置", "关闭"}, "", {box(kFolderUnusable, kDenied, kLocateClose),
     box(kFolderUnusable, kDenied, kLocateClose)}, End::Nothing, nullptr, nullptr},
    {"FolderOnAReadOnlyFileSystem", nullptr, [](const Places& p) { gFileSeam::failWith(p.folder, EROFS); },
     false, false, {"指定位置"}, "other", {box(kFolderUnusable, kReadOnlyFs, kLocateClose)},
     End::AccountCreationElsewhere, nullptr, nullptr},

    // The profile
    {"ProfileOfMode000", nullptr, [](const Places& p) { chmodTo(p.profile, 0); }, true, false,
     {"关闭"}, nullptr, {box(kProfileUnreadable, kDenied, kLocateClose)}, End::Nothing, nullptr, nullptr},
    {"ProfileWithAnInputOutputError", nullptr, [](const Places& p) { gFileSeam::failWith(p.profile, EIO); },
     false, false, {"指定位置"}, "other", {box(kProfileUnreadable, QStringLiteral("磁盘读写错误"), kLocateClose)},
     End::AccountCreationElsewhere, nullptr, nullptr},
    {"ProfileLinkedToNothing", [](const Places& p) { linkToNothing(p.profile, p.gone); }, nullptr, false, false,
     {"关闭"}, nullptr, {box(kProfileUnreadable, kToNothing, kLocateClose)}, End::Nothing, nullptr, nullptr},
    {"BadProfileRecreated", [](const Places& p) { writeFile(p.profile, scrambled::encode({"NotOurs"}, 9, true)); },
     nullptr, false, false, {"重新创建", "确定", "关闭"}, nullptr,
     {box(kProfileBroken, {}, {"重新创建", "指定位置", "关闭"}), box(kConfirmRecreate, {}, kOkCancel),
      box(QStringLiteral("原来的帐户配置文件已经保存在 \"%P.old\" 。"), {}, kClose)},
     End::AccountCreation, "Userdata.ini", "Userdata.ini.old"},
    {"BadProfileRecreatedBesideAnEarlierCopy", [](const Places& p) {
         writeFile(p.profile, scrambled::encode({"NotOurs"}, 9, true));
         writeFile(p.profile + ".old", "an earlier account");
     }, nullptr, false, false, {"重新创建", "确定", "关闭"}, nullptr,
     {box(kProfileBroken, {}, {"重新创建", "指定位置", "关闭"}), box(kConfirmRecreate, {}, kOkCancel),
      box(QStringLiteral("原来的帐户配置文件已经保存在 \"%P.1.old\" 。"), {}, kClose)},
     End::AccountCreation, "Userdata.ini", "Userdata.ini.1.old"},
    {"BadProfileRecreateCancelled", [](const Places& p) { writeFile(p.profile, scrambled::encode({"NotOurs"}, 9, true)); },
     nullptr, false, false, {"重新创建", "取消", "关闭"}, nullptr,
     {box(kProfileBroken, {}, {"重新创建", "指定位置", "关闭"}), box(kConfirmRecreate, {}, kOkCancel),
      box(kProfileBroken, {}, {"重新创建", "指定位置", "关闭"})},
     End::Nothing, nullptr, nullptr},

    // The record file
    {"RecordFileOfMode000", nullptr, [](const Places& p) { chmodTo(p.db, 0); }, true, true,
     {"关闭"}, nullptr, {box(kRecordRefused, kDenied, kClose)}, End::Nothing, nullptr, nullptr},
    {"RecordFileOfMode0400", nullptr, [](const Places& p) { chmodTo(p.db, 0400); }, true, true,
     {"关闭"}, nullptr, {box(kRecordRefused, kDenied, kClose)}, End::Nothing, nullptr, nullptr},
    {"RecordFileLinkedToNothing", [](const Places& p) { linkToNothing(p.db, p.gone); }, nullptr, false, true,
     {"关闭"}, nullptr, {box(kRecordRefused, kToNothing, kClose)}, End::Nothing, nullptr, nullptr},
    {"RecordFileOnAReadOnlyFileSystem", nullptr, [](const Places& p) { gFileSeam::failWith(p.db, EROFS); },
     false, true, {"关闭"}, nullptr, {box(kRecordRefused, kReadOnlyFs, kClose)}, End::Nothing, nullptr, nullptr},
    {"RecordFileCutToHalfKept", [](const Places& p) { cut(p.db, QFileInfo(p.db).size() / 2048 * 1024); },
     nullptr, false, true, {"取消"}, nullptr, {box(kRecordDamaged, {}, kOkCancel)}, End::Nothing, nullptr, nullptr},
    {"RecordFileCutToHalfSetAside", [](const Places& p) { cut(p.db, QFileInfo(p.db).size() / 2048 * 1024); },
     nullptr, false, true, {"确定", "关闭"}, nullptr,
     {box(kRecordDamaged, {}, kOkCancel), box(QStringLiteral("失效的记录文件已经保存在 \"%D.old\" 。"), {}, kClose)},
     End::SignedIn, "Userdata.dat", "Userdata.dat.old"},
    {"RecordFileCutToOnePage", [](const Places& p) { cut(p.db, 1024); }, nullptr, false, true,
     {"取消"}, nullptr, {box(kRecordDamaged, {}, kOkCancel)}, End::Nothing, nullptr, nullptr},
    {"RecordFileCutInsideAPage", [](const Places& p) { cut(p.db, 3 * 1024 + 100); }, nullptr, false, true,
     {"取消"}, nullptr, {box(kRecordDamaged, {}, kOkCancel)}, End::Nothing, nullptr, nullptr},
    {"RecordFileWithAPageThatDoesNotReadBack", [](const Places& p) { spoilPage(p.db); }, nullptr, false, true,
     {"取消"}, nullptr, {box(kRecordDamaged, {}, kOkCancel)}, End::Nothing, nullptr, nullptr},
};
// clang-format on

class DamagedFiles : public AccountsTest, public ::testing::WithParamInterface<DamageCase> {
protected:
    // The account as it was before anything went wrong: a profile and a
    // database of several pages.
    Places makeAccount() {
        Places p;
        p.home = home().path();
        p.folder = gDataPath;
        p.profile = gProfileFile();
        p.db = gDatabaseFile;
        p.other = home().folder(QStringLiteral("other"));
        p.gone = home().path() + QStringLiteral("/gone/") + QFileInfo(p.db).fileName();
        writeProfile(QStringLiteral("Ann"), kPassword, kKey,
                     QStringLiteral("000000000100000000000")); // the password alone is asked
        gRecordKey = kKey;
        gCreateDatabase(p.db, gMakeDbPassword(kPassword));
        db::Connection c;
        c.open(p.db, gMakeDbPassword(kPassword));
        for (int day = 1; day <= 20; ++day)
            c.execute(QStringLiteral("INSERT INTO \"Diary\" (\"Date\", \"Title\", \"Diary\", \"DiaryRTF\", "
                                     "\"Score\", \"Collect\") VALUES (?, ?, ?, ?, ?, 0)"),
                      {QDate(2024, 3, day), QStringLiteral("第 %1 天").arg(day), QString(300, QChar(0x65E5)),
                       QString(), 50});
        c.close();
        return p;
    }
};

// Gives the refused files and folder back their modes, also when a test stops
// early: a folder of mode 000 could not even be cleaned up.
struct ModesBack {
    QMap<QString, int> modes;
    void keep(const QString& path) {
        if (const int mode = fileMode(path); mode >= 0) modes.insert(path, mode);
    }
    void restore() const {
        for (auto it = modes.cbegin(); it != modes.cend(); ++it)
            ::chmod(QFile::encodeName(it.key()).constData(), mode_t(it.value()));
    }
    ~ModesBack() { restore(); }
};

QString withPlaces(QString text, const Places& p) {
    return text.replace(QStringLiteral("%F"), QDir::cleanPath(p.folder))
        .replace(QStringLiteral("%P"), p.profile)
        .replace(QStringLiteral("%D"), p.db)
        .replace(QStringLiteral("%T"), p.gone);
}

TEST_P(DamagedFiles, TellWhyOfferTheWayOnAndKeepEveryFile) {
    const DamageCase& c = GetParam();
    if (c.modes && ::geteuid() == 0)
        GTEST_SKIP() << "running as root, which the system lets past every file mode; run as another user";

    const Places p = makeAccount();
    if (c.damage) c.damage(p);
    const QMap<QString, QByteArray> before = snapshot(p.folder);
    ASSERT_FALSE(before.isEmpty());

    ModesBack back;
    for (const QString& path : {QDir::cleanPath(p.folder), p.profile, p.db})
        back.keep(path);
    if (c.refuse) c.refuse(p);
    if (c.folderChosen) {
        const QString chosen = QString::fromLatin1(c.folderChosen);
        dialogs::seam::pushAnswer(chosen.isEmpty() ? QString() : p.other);
    }

    RealBoxes boxes(c.presses);
    Main();
    if (c.signIn) {
        auto* login = forms::find<frmLogin>(Form::frmLogin);
        ASSERT_NE(login, nullptr);
        ASSERT_TRUE(login->isVisible());
        QApplication::setActiveWindow(login);
        QTest::keyClicks(login->passwordOnlyEdit, kPassword);
        QTest::mouseClick(login->okButton, Qt::LeftButton);
    }
    pumpEvents();

    QList<RealBoxes::Seen> told;
    for (const RealBoxes::Seen& s : c.told)
        told += RealBoxes::Seen{withPlaces(s.text, p), s.buttons};
    EXPECT_EQ(boxes.seen, told);
    EXPECT_TRUE(boxes.stray.isEmpty()) << boxes.stray.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(dialogs::seam::asked().size(), c.presses.count(QStringLiteral("指定位置")));

    switch (c.end) {
    case End::Nothing:
        EXPECT_TRUE(forms::loadedNames().isEmpty()) << forms::loadedNames().join(' ').toStdString();
        EXPECT_TRUE(loadedStandIns().isEmpty());
        EXPECT_FALSE(gConnection.isOpen());
        break;
    case End::AccountCreation:
    case End::AccountCreationElsewhere:
        EXPECT_TRUE(formShown(Form::frmCreateAccount));
        EXPECT_EQ(gDataPath, c.end == End::AccountCreation ? p.folder : p.other);
        break;
    case End::SignedIn:
        EXPECT_TRUE(gConnection.isOpen());
        EXPECT_TRUE(loadedStandIns().contains(QStringLiteral("frmMain")));
        break;
    }

    gCloseDatabase();
    forms::unloadAllNow();
    gFileSeam::reset();
    back.restore();

    QMap<QString, QByteArray> expected = before;
    QMap<QString, QByteArray> after = snapshot(p.folder);
    if (c.movedFrom) {
        const QString from = QString::fromLatin1(c.movedFrom), to = QString::fromLatin1(c.movedTo);
        ASSERT_TRUE(expected.contains(from));
        expected.insert(to, expected.take(from));
        // The new database made in the old one's place is the only file added.
        if (c.end == End::SignedIn) {
            EXPECT_TRUE(after.contains(from));
            after.remove(from);
        }
    }
    EXPECT_EQ(after.keys(), expected.keys());
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        EXPECT_TRUE(after.value(it.key()) == it.value()) << "changed: " << it.key().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedFiles, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<DamageCase>& i) { return i.param.name; });

} // namespace
