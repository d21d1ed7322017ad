#pragma once
// What the main window's page switch takes: the pages by the numbers their
// buttons carry, and the three flags it stores for the page it opens.

enum class Page : int {
    Home = 0,
    Timetable = 1,
    Writing = 2,
    Review = 3,
    Search = 4,
    Account = 5,
    Settings = 6,
    CloseCurrent = 79, // closes the current page and opens none
    HelpWindow = 89,   // opens the help topics
    HelpMenu = 99,     // pops up the help menu
};

constexpr int pageNumber(Page p) {
    return static_cast<int>(p);
}

// True for the numbers that are pages proper (not commands).
constexpr bool isPageNumber(int n) {
    return n >= pageNumber(Page::Home) && n <= pageNumber(Page::Settings);
}

struct PageFlags {
    bool setDiary = false;     // the page starts at gDiaryDate
    bool editMode = false;     // the editor edits the entry at gDayIndex instead of writing a new one
    bool returnReview = false; // the editor returns to the review page instead of the home page
};
