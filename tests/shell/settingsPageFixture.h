#pragma once
// The settings page over a real account: profile and database in the user
// folder, the main window loaded, the page opened through the page switch. The
// program folder carries its manifest, so a restart goes through the start-up.
#include "shellFixture.h"

#include "core/ui/gStartup.h"
#include "core/model/gState.h"
#include "core/model/gUserData.h"
#include "platform/settingsStore.h"
#include "shell/frmMain.h"
#include "shell/frmSet.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItem>

void gRegisterAccountsForms();

class SettingsPageBase : public AccountShellTest {
protected:
    void SetUp() override {
        AccountShellTest::SetUp();
        program_ = home().folder(QStringLiteral("program"));
        writeFile(program_ + QStringLiteral("Rededera.exe.manifest"), "manifest");
        gStartupSeam::setProgram(program_, QStringLiteral("Rededera"));
        gAppPath = program_;
        gAppFileName = QStringLiteral("Rededera");
        gRegisterAccountsForms();
        forms::registerForm(Form::frmSet, [] { return new frmSet; });
    }

    // Makes the account in the current user folder, loads the main window and opens page 6.
    frmSet* openPage() {
        makeAccount();
        if (::testing::Test::HasFatalFailure()) return nullptr;
        loadMain();
        if (!main_ || !main_->gChangeFrame(Page::Settings)) return nullptr;
        return page();
    }
    frmSet* page() const { return forms::find<frmSet>(Form::frmSet); }
    void click(const QString& key) {
        frmSet* p = page();
        ASSERT_NE(p, nullptr);
        QTreeWidgetItem* item = p->node(key);
        ASSERT_NE(item, nullptr) << key.toStdString();
        p->optionTree->scrollToItem(item);
        const QRect r = p->optionTree->visualItemRect(item);
        ASSERT_TRUE(r.isValid()) << key.toStdString();
        QTest::mouseClick(p->optionTree->viewport(), Qt::LeftButton, {}, r.center());
    }
    // Types into the open editor and presses its OK.
    void enter(const QString& text) {
        frmSet* p = page();
        ASSERT_NE(p, nullptr);
        p->valueEdit->setText(text);
        p->editorOkButton->click();
    }
    QString caption(const QString& key) const {
        QTreeWidgetItem* item = page() ? page()->node(key) : nullptr;
        return item ? item->text(0) : QStringLiteral("<no node>");
    }
    QString image(const QString& key) const {
        return frmSet::nodeImage(page() ? page()->node(key) : nullptr);
    }
    static QString setting(const QString& key, const QString& def = QStringLiteral("<absent>")) {
        return settings::get(QStringLiteral("Rededera"), QStringLiteral("Option"), key, def);
    }
    static void storeSetting(const QString& key, const QString& value) {
        settings::save(QStringLiteral("Rededera"), QStringLiteral("Option"), key, value);
    }

    QString program_;
};
