#include "diary/gDiarySearch.h"

#include "core/model/gDatabase.h"
#include "core/model/gState.h"
#include "diary/DiarySearch.h"
#include "diary/SearchEntries.h"

std::vector<gFoundEntry> gSearchDiary(const db::Filter& filter) {
    return gSearchDiary(gConnection, filter);
}

std::vector<gFoundEntry> gSearchDiary(db::Connection& connection, const db::Filter& filter) {
    DiarySearch search(connection, filter, true);
    while (!search.run(DiarySearch::Clock::time_point::max())) {
    }
    SearchEntries& entries = *search.entries();
    std::vector<gFoundEntry> found;
    found.reserve(search.found().size());
    for (quint32 i : search.found())
        found.push_back(
            {entries[i].number, entries.date(i), entries.title(i), entries.preview(i), entries.score(i)});
    return found;
}

void gForgetSearchTexts() {
    SearchEntries::forgetTexts();
}

size_t gKeptSearchTexts() {
    return SearchEntries::keptTexts();
}
