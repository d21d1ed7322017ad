#include "core/model/gState.h"

#include "core/model/clsSchedule.h"

QString gAppPath;
QString gAppFileName = QStringLiteral("Rededera");
int gPathOption = 2;
QString gDataPath;
QString gDatabaseFile;
QString gPictureFile;
bool gHiddenStart = false;
QString gCommandLine;

QString gUserName;
QString gPasswordHash;
QString gRecordKey;
int gPictureIndex = 0;
std::array<bool, kOptionCount> gOptions{};
int gLockTimeout = 0;
int gAutoSaveInterval = 0;
int gRemindLead = 0;

bool gLocked = false;
bool gCloseMinimizes = false;
bool gMessageOpen = false;
qint16 gMsgButton = 0;
int gBalloonKind = 0;
QPointer<QWidget> gPopUpOwner;
bool gRestartPending = false;

long gDiaryCount = 0;
long gScoreTotal = 0;
QDate gDiaryDate;
int gDayCount = 0;
int gDayIndex = 0;
QVector<QString> gDayTitles;
QVector<QString> gDayTexts;
QVector<QString> gDayRTFs;
QVector<int> gDayScores;

bool gSetDiary = false;

QVector<std::array<QString, 3>> gTodayCourses;
QVector<std::array<qint16, 2>> gTodayTimes;

void gResetAccountState() {
    gUserName.clear();
    gPasswordHash.clear();
    gRecordKey.clear();
    gPictureIndex = 0;
    gOptions.fill(false);
    gLockTimeout = gAutoSaveInterval = gRemindLead = 0;
    gLocked = false;
    gCloseMinimizes = false;
    gHiddenStart = false;
    gBalloonKind = 0;
    gPopUpOwner.clear();
    gRestartPending = false;
    gDiaryCount = gScoreTotal = 0;
    gDiaryDate = QDate();
    gDayCount = gDayIndex = 0;
    gDayTitles.clear();
    gDayTexts.clear();
    gDayRTFs.clear();
    gDayScores.clear();
    gSetDiary = false;
    gTimetable = clsSchedule();
    gTodayCourses.clear();
    gTodayTimes.clear();
}
