#include "../common/testSupport.h"

#include "core/model/gClock.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"
#include "core/model/gState.h"
#include "core/model/gUserData.h"
#include "core/ui/gUserDataUi.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <csignal>
#include <functional>
#include <sys/resource.h>

namespace {

const QStringList kGood{QStringLiteral("Rededera"),
                        QStringLiteral("2"),
                        QStringLiteral("李雷"),
                        QStringLiteral("900150983CD24FB0D6963F7D28E17F72"),
                        QStringLiteral("7654321"),
                        QStringLiteral("11"),
                        QStringLiteral("100000000000000000001"),
                        QStringLiteral("5"),
                        QStringLiteral("10"),
                        QStringLiteral("30")};

QStringList with(QStringList fields, int index, const QString& value) {
    fields[index] = value;
    return fields;
}

// The account as a test sees it before a read.
void presetAccount() {
    gUserName = QStringLiteral("before");
    gPasswordHash = QStringLiteral("HASH");
    gRecordKey = QStringLiteral("42");
    gPictureIndex = 4;
    gOptions.fill(true);
    gLockTimeout = gAutoSaveInterval = gRemindLead = 99;
}

class ProfileFile : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        gDataPath = home().folder(QStringLiteral("data"));
        gPictureFile = gDataPath + QStringLiteral("UserPicture.dat");
        presetAccount();
    }
    void writeProfile(const QStringList& fields, int key = 17) {
        writeFile(gProfileFile(), scrambled::encode(fields, key, true));
    }
};

struct ReaderCase {
    const char* name;
    QStringList fields;
    bool ok;
    std::function<void()> check;
};

class ProfileReader : public ProfileFile, public ::testing::WithParamInterface<ReaderCase> {};

TEST_P(ProfileReader, ChecksAndAppliesFields) {
    writeProfile(GetParam().fields);
    EXPECT_EQ(gReadUserData(), GetParam().ok);
    GetParam().check();
}

void expectGoodAccount() {
    EXPECT_EQ(gUserName, QStringLiteral("李雷"));
    EXPECT_EQ(gPasswordHash, QStringLiteral("900150983CD24FB0D6963F7D28E17F72"));
    EXPECT_EQ(gRecordKey, QStringLiteral("7654321"));
    EXPECT_EQ(gPictureIndex, 11);
    EXPECT_TRUE(gOption(Option::FloatingWindow));
    EXPECT_FALSE(gOption(Option::HideFloatingWithMain));
    EXPECT_TRUE(gOption(Option::Reserved20));
    EXPECT_EQ(gLockTimeout, 5);
    EXPECT_EQ(gAutoSaveInterval, 10);
    EXPECT_EQ(gRemindLead, 30);
}

void expectUntouched() {
    EXPECT_EQ(gUserName, QStringLiteral("before"));
    EXPECT_EQ(gPasswordHash, QStringLiteral("HASH"));
    EXPECT_EQ(gRecordKey, QStringLiteral("42"));
    EXPECT_EQ(gPictureIndex, 4);
    EXPECT_TRUE(gOption(Option::QuickPreview));
    EXPECT_EQ(gLockTimeout, 99);
}

QStringList secondGroup() {
    QStringList two = kGood;
    two += with(with(kGood, 2, QStringLiteral("Han Meimei")), 7, QStringLiteral("15"));
    return two;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileReader,
    ::testing::Values(
        ReaderCase{"complete", kGood, true, expectGoodAccount},
        ReaderCase{"key only", {}, true, expectUntouched},
        ReaderCase{"two groups, the second wins", secondGroup(), true,
                   [] {
                       EXPECT_EQ(gUserName, QStringLiteral("Han Meimei"));
                       EXPECT_EQ(gLockTimeout, 15);
                   }},
        ReaderCase{"cut after field 3 keeps what was read", kGood.mid(0, 4), false,
                   [] {
                       EXPECT_EQ(gUserName, QStringLiteral("李雷"));
                       EXPECT_EQ(gPasswordHash, QStringLiteral("900150983CD24FB0D6963F7D28E17F72"));
                       EXPECT_EQ(gRecordKey, QStringLiteral("42"));
                   }},
        ReaderCase{"eleven fields", kGood + QStringList{QStringLiteral("Rededera")}, false, [] {}},
        ReaderCase{"short OptionBits", with(kGood, 6, QStringLiteral("1021")), true,
                   [] {
                       EXPECT_TRUE(gOption(Option::FloatingWindow));
                       EXPECT_FALSE(gOption(Option::HideFloatingWithMain));
                       EXPECT_TRUE(gOption(Option::BalloonOnMinimise));
                       EXPECT_TRUE(gOption(Option::CloseMinimises));
                       for (int i = 4; i < 21; ++i)
                           EXPECT_FALSE(gOptions[i]) << i;
                   }},
        ReaderCase{"minutes by their leading number",
                   with(with(kGood, 7, QStringLiteral("12abc")), 8, QStringLiteral("2.5")), true,
                   [] {
                       EXPECT_EQ(gLockTimeout, 12);
                       EXPECT_EQ(gAutoSaveInterval, 2); // half to even
                   }},
        ReaderCase{"minutes that are no number", with(kGood, 9, QStringLiteral("soon")), true,
                   [] { EXPECT_EQ(gRemindLead, 0); }},
        ReaderCase{"minutes overflow", with(kGood, 7, QStringLiteral("40000")), false,
                   [] { EXPECT_EQ(gLockTimeout, 99); }},
        ReaderCase{"picture number overflow", with(kGood, 5, QStringLiteral("40000")), false,
                   [] { EXPECT_EQ(gPictureIndex, 4); }},
        ReaderCase{"picture number not a number", with(kGood, 5, QStringLiteral("3x")), false, [] {}},
        ReaderCase{"signature in other case", with(kGood, 0, QStringLiteral("rededera")), false,
                   expectUntouched},
        ReaderCase{"version 3", with(kGood, 1, QStringLiteral("3")), false, expectUntouched},
        ReaderCase{"version not a number", with(kGood, 1, QStringLiteral("two")), false, expectUntouched},
        ReaderCase{"version with blanks", with(kGood, 1, QStringLiteral(" 2 ")), true, expectGoodAccount},
        // The record key keys the database: only what account creation writes is usable.
        ReaderCase{"record key empty", with(kGood, 4, QString()), false,
                   [] { EXPECT_EQ(gRecordKey, QStringLiteral("42")); }},
        ReaderCase{"record key of eight digits", with(kGood, 4, QStringLiteral("12345678")), false, [] {}},
        ReaderCase{"record key with a letter", with(kGood, 4, QStringLiteral("12a")), false, [] {}},
        ReaderCase{"record key with a blank", with(kGood, 4, QStringLiteral(" 123")), false, [] {}},
        ReaderCase{"record key of other digits", with(kGood, 4, QStringLiteral("１２")), false, [] {}},
        ReaderCase{"record key of one digit", with(kGood, 4, QStringLiteral("0")), true,
                   [] { EXPECT_EQ(gRecordKey, QStringLiteral("0")); }}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST_F(ProfileFile, ShortLastRecordIsRead) {
    QByteArray bytes = scrambled::encode(kGood, 17, true);
    bytes.chop(3);
    writeFile(gProfileFile(), bytes);
    EXPECT_TRUE(gReadUserData());
    expectGoodAccount();
}

TEST_F(ProfileFile, MissingEmptyOrHugeProfileFailsAndNothingIsCreated) {
    EXPECT_FALSE(gReadUserData());
    EXPECT_FALSE(QFileInfo::exists(gProfileFile()));

    writeFile(gProfileFile(), QByteArray());
    EXPECT_FALSE(gReadUserData());

    QByteArray huge = scrambled::encode(kGood, 17, true);
    huge.append(QByteArray(scrambled::kMaxFileSize, '\x11'));
    writeFile(gProfileFile(), huge);
    EXPECT_FALSE(gReadUserData());
    expectUntouched();

    QFile::remove(gProfileFile());
    QDir().mkdir(gProfileFile()); // a folder where the file should be
    EXPECT_FALSE(gReadUserData());
}

TEST_F(ProfileFile, SaveWritesWhatTheReaderReadsBack) {
    gUserName = QStringLiteral("王 小明");
    gPasswordHash = QStringLiteral("D41D8CD98F00B204E9800998ECF8427E");
    gRecordKey = QStringLiteral("9999998");
    gPictureIndex = 12;
    gOptions = gParseOptionBits(QStringLiteral("111001110110110000000"));
    gLockTimeout = 5;
    gAutoSaveInterval = 0;
    gRemindLead = 30;
    ASSERT_TRUE(gSaveUserData());

    const QByteArray bytes = readFile(gProfileFile());
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_LT(static_cast<quint8>(bytes[0]), 100); // the saver's key range
    EXPECT_EQ(bytes.size() % 4, 0);
    const auto fields = scrambled::decode(bytes, true);
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(*fields, (QStringList{"Rededera", "2", "王 小明", "D41D8CD98F00B204E9800998ECF8427E", "9999998",
                                    "12", "111001110110110000000", "5", "0", "30"}));

    presetAccount();
    ASSERT_TRUE(gReadUserData());
    EXPECT_EQ(gUserName, QStringLiteral("王 小明"));
    EXPECT_EQ(gPictureIndex, 12);
    EXPECT_EQ(gOptionBitsText(gOptions), QStringLiteral("111001110110110000000"));
    EXPECT_EQ(gAutoSaveInterval, 0);
}

// The profile holds the password digest and the record key: the database's key.
TEST_F(ProfileFile, SaveIsOwnerOnlyWhateverTheUmask) {
    OpenUmask open;
    ASSERT_TRUE(gSaveUserData());
    EXPECT_EQ(fileMode(gProfileFile()), 0600);
    ASSERT_TRUE(QFile::setPermissions(gProfileFile(), QFile::ReadOwner | QFile::WriteOwner |
                                                          QFile::ReadGroup | QFile::ReadOther));
    ASSERT_TRUE(gSaveUserData());
    EXPECT_EQ(fileMode(gProfileFile()), 0600);
}

TEST_F(ProfileFile, SaveDrawsAFreshKeyEachTime) {
    QSet<int> keys;
    for (int i = 0; i < 8; ++i) {
        gClockSeam::seedRandom(1000 + i);
        ASSERT_TRUE(gSaveUserData());
        keys.insert(static_cast<quint8>(readFile(gProfileFile())[0]));
    }
    EXPECT_GT(keys.size(), 1);
}

TEST_F(ProfileFile, SaveIntoAFolderThatCannotExistFails) {
    writeFile(home().path() + QStringLiteral("/plain"), "x");
    gDataPath = home().path() + QStringLiteral("/plain/data/");
    EXPECT_FALSE(gSaveUserData());
    EXPECT_FALSE(QFileInfo::exists(gProfileFile()));
}

// Writes beyond a few bytes fail for the whole process while it lives (works as root too).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit r = saved_;
        r.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &r);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST_F(ProfileFile, FailedSaveLeavesTheOldProfileByteForByte) {
    writeProfile(kGood, 17);
    const QByteArray before = readFile(gProfileFile());
    gUserName = QStringLiteral("a much longer name that no longer fits the small limit");
    bool saved = true;
    {
        FileSizeLimit limit(64);
        saved = gSaveUserData();
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(readFile(gProfileFile()), before);
    EXPECT_EQ(QDir(gDataPath).entryList(QDir::Files), QStringList{kProfileFileName});
}

class ProfileKeyFile : public ProfileFile {
protected:
    void SetUp() override {
        ProfileFile::SetUp();
        gUserName = QStringLiteral("李雷");
        gPasswordHash = QStringLiteral("OLDHASH");
        gRecordKey = QStringLiteral("111");
        gPictureIndex = 3;
        path_ = gDataPath + QStringLiteral("key.eky");
    }
    void writeKey(const QStringList& fields, bool xorStep = false) {
        writeFile(path_, scrambled::encode(fields, 42, xorStep));
    }
    void expectUnchanged() {
        EXPECT_EQ(gPasswordHash, QStringLiteral("OLDHASH"));
        EXPECT_EQ(gRecordKey, QStringLiteral("111"));
        EXPECT_EQ(gUserName, QStringLiteral("李雷"));
    }
    QString path_;
};

const QStringList kKey{QStringLiteral("Rededera"), QStringLiteral("2"),       QStringLiteral("Key File"),
                       QStringLiteral("李雷"),     QStringLiteral("NEWHASH"), QStringLiteral("2222")};

TEST_F(ProfileKeyFile, ValidFileReplacesDigestAndRecordKeyOnly) {
    KeyFileRecord r;
    r.UserName = QStringLiteral("李雷");
    r.PasswordHash = QStringLiteral("NEWHASH");
    r.RecordKey = QStringLiteral("2222");
    ASSERT_TRUE(scrambled::writeFile(path_, r.fields(), 99, false));
    EXPECT_TRUE(ReadKeyFile(path_));
    EXPECT_EQ(gPasswordHash, QStringLiteral("NEWHASH"));
    EXPECT_EQ(gRecordKey, QStringLiteral("2222"));
    EXPECT_EQ(gUserName, QStringLiteral("李雷"));
    EXPECT_EQ(gPictureIndex, 3);
}

TEST_F(ProfileKeyFile, AnyFailureLeavesTheAccountAsItWas) {
    QStringList secondBad = kKey;
    secondBad += with(kKey, 3, QStringLiteral("someone else"));
    const struct {
        const char* name;
        QStringList fields;
        bool xorStep;
    } cases[] = {
        {"another account", with(kKey, 3, QStringLiteral("李雷 ")), false},
        {"bad signature", with(kKey, 0, QStringLiteral("Other")), false},
        {"bad version", with(kKey, 1, QStringLiteral("1")), false},
        {"bad kind", with(kKey, 2, QStringLiteral("key file")), false},
        {"ends before the record key", kKey.mid(0, 5), false},
        {"second group for another name", secondBad, false},
        {"scrambled like a profile", kKey, true},
    };
    for (const auto& c : cases) {
        writeKey(c.fields, c.xorStep);
        EXPECT_FALSE(ReadKeyFile(path_)) << c.name;
        expectUnchanged();
    }
    QFile::remove(path_);
    EXPECT_FALSE(ReadKeyFile(path_));
    writeFile(path_, QByteArray());
    EXPECT_FALSE(ReadKeyFile(path_));
    expectUnchanged();
}

TEST_F(ProfileKeyFile, SomethingThatIsNotAFileIsRefusedWithoutWaiting) {
    // Opening a pipe for reading would wait for a writer that never comes.
    ASSERT_EQ(mkfifo(QFile::encodeName(path_).constData(), 0600), 0);
    EXPECT_FALSE(ReadKeyFile(path_));
    EXPECT_FALSE(ReadKeyFile(QStringLiteral("/dev/zero")));
    EXPECT_FALSE(ReadKeyFile(gDataPath));
    expectUnchanged();
}

TEST_F(ProfileKeyFile, WorkedBytesOfTheWizardAreAccepted) {
    gUserName = QStringLiteral("A");
    const QByteArray one = scrambled::encode({QStringLiteral("A")}, 5, false);
    EXPECT_EQ(one, QByteArray::fromHex("05000000"
                                       "06000000"
                                       "46000000"
                                       "06000000"
                                       "05000000"
                                       "05000000"));
    KeyFileRecord r;
    r.UserName = QStringLiteral("A");
    r.PasswordHash = QStringLiteral("D41D8CD98F00B204E9800998ECF8427E");
    r.RecordKey = QStringLiteral("0");
    writeFile(path_, scrambled::encode(r.fields(), 5, false));
    EXPECT_TRUE(ReadKeyFile(path_));
    EXPECT_EQ(gPasswordHash, QStringLiteral("D41D8CD98F00B204E9800998ECF8427E"));
    EXPECT_EQ(gRecordKey, QStringLiteral("0"));
}

class ProfileUserPicture : public ProfileFile {};

QImage imageOf(const QPixmap& p) {
    return p.toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST_F(ProfileUserPicture, BuiltInPicturesAreDistinctAvatars) {
    QList<QImage> seen;
    for (int i = 0; i <= 11; ++i) {
        const QPixmap p = gLoadUserPicture(i);
        ASSERT_FALSE(p.isNull()) << i;
        EXPECT_EQ(p.size(), QSize(48, 48)) << i;
        const QImage img = imageOf(p);
        for (const QImage& other : seen)
            EXPECT_NE(img, other) << i;
        seen += img;
    }
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

TEST_F(ProfileUserPicture, OwnPictureIsReadByContentOrThePlaceholderWhileMissing) {
    EXPECT_EQ(imageOf(gLoadUserPicture(12)), imageOf(gLoadResPicture(Res::OwnPictureMissing)));

    QImage own(20, 10, QImage::Format_ARGB32);
    own.fill(QColor(10, 200, 30));
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    own.save(&buf, "PNG");
    writeFile(gPictureFile, png); // no extension to go by
    const QPixmap p = gLoadUserPicture(12);
    ASSERT_FALSE(p.isNull());
    EXPECT_EQ(p.size(), QSize(20, 10));
    EXPECT_EQ(p.toImage().pixelColor(5, 5), QColor(10, 200, 30));
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

TEST_F(ProfileUserPicture, UnreadablePictureShowsTheErrorBoxAndGivesNone) {
    writeFile(gPictureFile, "this is not a picture");
    EXPECT_TRUE(gLoadUserPicture(12).isNull());
    ASSERT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_TRUE(gMsgBoxSeam::errors()[0].continueRun);
}

} // namespace
