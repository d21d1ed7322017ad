#pragma once
#include <QDate>
#include <QElapsedTimer>
#include <QWidget>

#include "core/ui/gEditorPage.h"
#include "core/ui/gForms.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QProgressBar;
class QRadioButton;
class QTimer;
class QTreeView;
class QTreeWidget;
class DiarySearch;
class FoundModel;
class SearchEntries;
class gLinkLabel;
namespace db {
class Filter;
}

// The page's panes, numbered as the tree's nodes are, top to bottom.
namespace SearchPane {
constexpr int None = 0;    // nothing chosen yet
constexpr int Results = 1; // the search node: the results alone
constexpr int ByDate = 2, ByTitle = 3, ByContent = 4, ByScore = 5;
constexpr int Favourites = 6;
} // namespace SearchPane

// The search and favourites page (page 4). The tree on the left picks an inner
// pane: the search with one criteria pane each for date, title, content and
// score, or the favourites. Every search lists the entries that pass the ticked
// criteria by date; a row opens the review page on that entry. A search runs in
// short turns of the event loop (DiarySearch), its rows shown as they are
// found, with a progress bar while it lasts; a newer search replaces it. From
// the keyboard a node chosen with the arrow keys counts as its click, Return
// opens the current row of either list, and the menu key opens the result
// list's menu on its current row.
class frmRetrieval : public QWidget, public gForm, public gSearchPage {
    Q_OBJECT
public:
    frmRetrieval();
    ~frmRetrieval() override;

    void formLoad() override;
    void selectFirstNode() override;

    // Controls (positions in twips as designed).
    QLabel* titleImage = nullptr;
    QLabel* titleLabel = nullptr;
    QProgressBar* searchProgress = nullptr; // while a search lasts
    gLinkLabel* refreshLink = nullptr;      // 刷新检索
    gLinkLabel* backLink = nullptr;         // 返回
    QTreeWidget* paneTree = nullptr;
    // Until a node is chosen.
    QFrame* hintPane = nullptr;
    QLabel* hintLabel = nullptr;
    // Criteria: by date.
    QFrame* datePane = nullptr;
    QCheckBox* byDateCheck = nullptr;
    QWidget* dateOptionsPanel = nullptr;
    QRadioButton* dateOptions[5] = {}; // last week, month, year, chosen dates, any date
    QLabel* fromLabel = nullptr;
    QDateEdit* fromDateEdit = nullptr;
    QLabel* toLabel = nullptr;
    QDateEdit* toDateEdit = nullptr;
    // Criteria: by title.
    QFrame* titlePane = nullptr;
    QCheckBox* byTitleCheck = nullptr;
    QLineEdit* titleEdit = nullptr;
    QCheckBox* titleBeginsCheck = nullptr;
    // Criteria: by content.
    QFrame* contentPane = nullptr;
    QCheckBox* byContentCheck = nullptr;
    QLineEdit* contentEdit = nullptr;
    QCheckBox* contentBeginsCheck = nullptr;
    // Criteria: by score, and favourites only.
    QFrame* scorePane = nullptr;
    QCheckBox* byScoreCheck = nullptr;
    QLabel* scoreCaption = nullptr;
    QComboBox* lowScoreCombo = nullptr;   // the score, or the range's low end
    QCheckBox* scoreRangeCheck = nullptr; // "至": a range up to highScoreCombo
    QComboBox* highScoreCombo = nullptr;
    QCheckBox* favouritesOnlyCheck = nullptr;
    // The results.
    QFrame* resultsPane = nullptr;
    QTreeView* resultList = nullptr;
    FoundModel* resultRows = nullptr;
    QMenu* resultMenu = nullptr; // on a right click in the results
    QAction *mReadDiary = nullptr, *mCollect = nullptr;
    // Favourites.
    QFrame* favouritesPane = nullptr;
    QLabel* favouritesTitleLabel = nullptr;
    QTreeView* favouritesList = nullptr;
    FoundModel* favouriteRows = nullptr;
    QLabel* favouritesHelpLabel = nullptr; // how to make a favourite, while there is none
    QLabel* noFavouritesLabel = nullptr;
    gLinkLabel* goToReviewLink = nullptr;          // 转到回顾
    gLinkLabel* removeFavouriteLink = nullptr;     // 删除
    gLinkLabel* removeAllFavouritesLink = nullptr; // 全部删除

    // Runs the search with the ticked criteria and refills the result list.
    void Result();
    // Shows pane `Index` (a SearchPane number).
    void gChangeFrame(int Index);
    int currentPane() const { return pane_; }
    // A search of either list is still running.
    bool searching() const;
    // For tests: how long a search runs before its progress shows (500 ms).
    static void setProgressDelay(int ms);

public Q_SLOTS:
    void resultList_MouseUp(int button);
    void mReadDiary_Click();
    void mCollect_Click();
    void favouritesList_DblClick();
    void removeFavouriteLink_Click();
    void removeAllFavouritesLink_Click();
    void goToReviewLink_Click();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillFavourites();
    void openEntry(const FoundModel* rows, int row);
    // The selected row of a list, or -1.
    static int selectedRow(const QTreeView* list);
    // Runs the searches on until the turn's end and shows what they found.
    void searchTurn();
    // Replaces a list's search with a new one and runs its first turn; with
    // scores it reads every entry's score and flag along.
    void start(std::unique_ptr<DiarySearch>& slot, FoundModel* rows, const db::Filter& filter,
               bool withScores);
    // The entries whose scores and flags are read on while no search runs.
    void readOnIn(std::shared_ptr<SearchEntries> entries);
    void showFavouritesState();
    // The results pane's top in twips: below a criteria pane, or alone on the page.
    static constexpr int kResultsBelowCriteria = 2040;
    static constexpr int kResultsAlone = 720;
    void placeResults(int topTw);

    int pane_ = SearchPane::None;
    std::unique_ptr<DiarySearch> resultSearch_, favouritesSearch_;
    QTimer* searchTimer_ = nullptr;
    std::shared_ptr<SearchEntries> readingOn_; // scores and flags read on while no search runs
    QElapsedTimer searchClock_;                // since the running search began
    QElapsedTimer rowsShown_;                  // since the lists last took the rows found
    bool searchAgainWhenShown_ = false;        // the lock stopped a search
};
