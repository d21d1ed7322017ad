// The file dialogs: filters written as description and patterns pairs become
// Qt name filters, and the dialog then offers the files they name.
#include "platform/dialogs.h"
#include "testSupport.h"

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QSet>

namespace {

const QString kPictureFilter = QStringLiteral(
    "图形文件(*.bmp,*.ico,*.gif,*.jpg,*.jpeg,*.wmf,*.emf)|*.bmp;*.gif;*.jpg;*.jpeg;*.ico;*.wmf;*.emf|位图(*."
    "bmp)|*.bmp|图标(*.ico)|*.ico|GIF(*.gif)|*.gif|JPEG(*.jpg,*.jpeg)|*.jpg;*.jpeg|元文件(*.wmf,*.emf)|*.wmf;"
    "*.emf");
const QString kKeyFilter = QStringLiteral("密匙文件 (*.eky)|*.eky|所有文件 (*.*)|*.*");

} // namespace

struct FilterCase {
    const char* name;
    QString filter;
    QStringList expected;
};

void PrintTo(const FilterCase& c, std::ostream* os) {
    *os << c.name;
}

class FileDialogFilters : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FileDialogFilters, BecomeQtNameFilters) {
    EXPECT_EQ(dialogs::nameFilters(GetParam().filter), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, FileDialogFilters,
    ::testing::Values(FilterCase{"KeyFiles", kKeyFilter, {"密匙文件 (*.eky) (*.eky)", "所有文件 (*.*) (*)"}},
                      FilterCase{"Pictures",
                                 kPictureFilter,
                                 {"图形文件(*.bmp,*.ico,*.gif,*.jpg,*.jpeg,*.wmf,*.emf) (*.bmp *.gif *.jpg "
                                  "*.jpeg *.ico *.wmf *.emf)",
                                  "位图(*.bmp) (*.bmp)", "图标(*.ico) (*.ico)", "GIF(*.gif) (*.gif)",
                                  "JPEG(*.jpg,*.jpeg) (*.jpg *.jpeg)", "元文件(*.wmf,*.emf) (*.wmf *.emf)"}},
                      FilterCase{"BlanksAroundPatterns", "文本| *.txt ; *.log ", {"文本 (*.txt *.log)"}},
                      FilterCase{"DescriptionWithoutPatterns", "全部", {"全部"}},
                      FilterCase{"DescriptionWithEmptyPatterns", "全部|", {"全部 (*)"}},
                      FilterCase{"ClosingBar", "文本|*.txt|", {"文本 (*.txt)"}},
                      FilterCase{"QtList", "Text (*.txt);;All (*)", {"Text (*.txt)", "All (*)"}},
                      FilterCase{"Empty", "", {}}),
    [](const ::testing::TestParamInfo<FilterCase>& info) { return std::string(info.param.name); });

class FileDialogOffer : public HomeTest {
protected:
    QString folder;
    void SetUp() override {
        HomeTest::SetUp();
        folder = home().folder(QStringLiteral("files"));
        for (const char* n : {"me.jpg", "old.bmp", "notes.txt", "ann.eky", "README"})
            writeFile(folder + QString::fromLatin1(n), "x");
    }
};

TEST_F(FileDialogOffer, PictureFilterOffersThePictures) {
    QSet<QString> first, bitmaps;
    QStringList shownFilters;
    dialogs::seam::setFileDialogHook([&](QFileDialog& d) {
        shownFilters = d.nameFilters();
        first = offeredFiles(d, folder);
        d.selectNameFilter(d.nameFilters().at(1));
        bitmaps = offeredFiles(d, folder);
        return folder + QStringLiteral("me.jpg");
    });
    EXPECT_EQ(dialogs::getOpenFileName(nullptr, QStringLiteral("打开"), {}, kPictureFilter),
              folder + QStringLiteral("me.jpg"));
    EXPECT_EQ(shownFilters.size(), 6);
    EXPECT_EQ(first, (QSet<QString>{"me.jpg", "old.bmp"}));
    EXPECT_EQ(bitmaps, QSet<QString>{"old.bmp"});
    ASSERT_EQ(dialogs::seam::asked().size(), 1);
    EXPECT_EQ(dialogs::seam::asked().first().kind, QStringLiteral("open"));
}

TEST_F(FileDialogOffer, KeyFileFiltersOfferKeyFilesThenEveryFile) {
    for (const bool save : {false, true}) {
        SCOPED_TRACE(save ? "save" : "open");
        QSet<QString> keys, all;
        dialogs::seam::setFileDialogHook([&](QFileDialog& d) {
            EXPECT_EQ(d.acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
            keys = offeredFiles(d, folder);
            d.selectNameFilter(d.nameFilters().at(1));
            all = offeredFiles(d, folder);
            return QString();
        });
        const QString answer =
            save ? dialogs::getSaveFileName(nullptr, QStringLiteral("另存为"), {}, kKeyFilter)
                 : dialogs::getOpenFileName(nullptr, QStringLiteral("打开"), {}, kKeyFilter);
        EXPECT_TRUE(answer.isEmpty());
        EXPECT_EQ(keys, QSet<QString>{"ann.eky"});
        // "*.*" means every file, the one without a dot too.
        EXPECT_EQ(all, (QSet<QString>{"me.jpg", "old.bmp", "notes.txt", "ann.eky", "README"}));
    }
}
