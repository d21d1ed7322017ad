#pragma once
#include <QDate>
#include <QWidget>

#include "core/gEditorPage.h"
#include "core/gForms.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;
class gLinkLabel;

// The page's panes, numbered as the tree's nodes are, top to bottom.
namespace SearchPane {
constexpr int None = 0;    // nothing chosen yet
constexpr int Results = 1; // the search node: the results alone
constexpr int ByDate = 2, ByTitle = 3, ByContent = 4, ByScore = 5;
constexpr int Favourites = 6;
} // namespace SearchPane

// The search and favourites page (page 4). The tree on the left picks an inner
// pane: the search with one criteria pane each for date, title, content and
// score, or the favourites. Every search rereads the Diary table with the ticked
// criteria as bound conditions and lists the matches by date; a row opens the
// review page on that entry.
class frmRetrieval : public QWidget, public gForm, public gSearchPage {
    Q_OBJECT
public:
    frmRetrieval();
    ~frmRetrieval() override;

    void formLoad() override;
    void selectFirstNode() override;

    // Controls (positions in twips as designed).
    QLabel *Image1 = nullptr, *Label1 = nullptr;
    gLinkLabel *lblCmd1 = nullptr, *lblCmd2 = nullptr, *lblCmd3 = nullptr, *lblCmd4 = nullptr,
               *lblCmd5 = nullptr;
    QTreeWidget* TreeView1 = nullptr;
    QFrame *Frame1 = nullptr, *Frame2 = nullptr, *Frame3 = nullptr, *Frame4 = nullptr, *Frame5 = nullptr,
           *Frame6 = nullptr, *Frame7 = nullptr;
    QLabel *Label3 = nullptr, *Label5 = nullptr, *Label6 = nullptr, *Label9 = nullptr, *Label11 = nullptr,
           *Label12 = nullptr, *Label13 = nullptr;
    QCheckBox *Check1 = nullptr, *Check2 = nullptr, *Check3 = nullptr, *Check4 = nullptr, *Check5 = nullptr,
              *Check6 = nullptr, *Check7 = nullptr, *Check8 = nullptr;
    QWidget* Picture1 = nullptr;
    QRadioButton* Option1[5] = {};
    QDateEdit *DTPicker1 = nullptr, *DTPicker2 = nullptr;
    QLineEdit *Text1 = nullptr, *Text2 = nullptr;
    QComboBox *Combo1 = nullptr, *Combo2 = nullptr;
    QTreeWidget *ListView1 = nullptr, *ListView2 = nullptr;
    QMenu* mMain = nullptr;
    QAction *mReadDiary = nullptr, *mCollect = nullptr;

    // Runs the search with the ticked criteria and refills the result list.
    void Result();
    // Shows inner pane `Index` (the tree's node index, 1..6).
    // Shows pane `Index` (a SearchPane number).
    void gChangeFrame(int Index);
    int currentPane() const { return pane_; }

    // Handlers, as the controls run them.
    void ListView1_MouseUp(int button);
    void mReadDiary_Click();
    void mCollect_Click();
    void ListView2_DblClick();
    void lblCmd3_Click(); // 删除
    void lblCmd4_Click(); // 全部删除
    void lblCmd5_Click(); // 转到回顾

    // The date and "NO." of a list row.
    static QDate rowDate(const QTreeWidgetItem* item);
    static int rowNumber(const QTreeWidgetItem* item);

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillFavourites();
    void openEntry(const QTreeWidgetItem* item);
    void placeResults();

    int pane_ = SearchPane::None;
    bool loaded_ = false;
};
