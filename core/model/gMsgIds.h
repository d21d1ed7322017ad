#pragma once
// The messages gMsgBox shows, by their numbers in the string table.

namespace Msg {
constexpr int RestartForNewFolder = 101; // the user folder moved; the program restarts
constexpr int DraftFound = 102;          // a saved draft is there; go on writing it?
constexpr int NoPictureChosen = 103;
constexpr int KeepOneAtLeast = 104; // at least one item must stay
constexpr int SignInRejected = 105; // wrong user name or password
constexpr int DayHasEntry = 106;
constexpr int EntryChangedDiscard = 107; // the entry was changed; leave it?
constexpr int RecordFileUnopenable = 108;
constexpr int EntryTextMissing = 109;
constexpr int AccountNameMissing = 110;
constexpr int TermStartsAfterEnd = 111;
constexpr int ConfirmDeleteCourse = 113;
constexpr int ProfileCreated = 114;
constexpr int RecordKeyInvalid = 115; // the record file's key no longer fits: import or recreate
constexpr int RecordFileSavedAside = 116;
constexpr int ProfileBroken = 117; // recreate or choose another place
constexpr int ConfirmRecreateProfile = 118;
constexpr int EntryNotEmptyDiscard = 119; // the new entry has text; leave it?
constexpr int WrongCurrentPassword = 120;
constexpr int PasswordsDiffer = 121;
constexpr int PictureUnreadable = 122;
constexpr int ConfirmDeleteEntry = 124;
constexpr int TitleMissing = 125;
constexpr int TitleTooLong = 126;
constexpr int NoEntryForFavourite = 127;
constexpr int ConfirmAddFavourite = 128;
constexpr int ConfirmRemoveFavourite = 129;
constexpr int ConfirmRemoveAllFavourites = 130;
constexpr int FileNameMissing = 132;
constexpr int ConfirmReplaceFile = 133;
constexpr int KeyExported = 134;
constexpr int KeyFileInvalid = 135;
constexpr int KeyImported = 136;
constexpr int FloatingNotOnTop = 137;
constexpr int AlreadyRunning = 138;
constexpr int RestartAfterSetup = 139; // files were created; start again
constexpr int PeriodCellEmpty = 140;
constexpr int PeriodBeginNotBeforeEnd = 141;
constexpr int PeriodsOverlap = 142;
constexpr int NoCourseChosen = 143;
constexpr int TimeInvalid = 144;
constexpr int RecordFileDamaged = 146;  // save a copy and recreate the record file?
constexpr int UserFolderUnusable = 147; // the folder and the system's reason; choose another place
constexpr int ProfileUnreadable = 148;  // the profile and the system's reason; choose another place
constexpr int ProfileSavedAside = 149;  // where the replaced profile went
constexpr int RecordFileRefused = 150;  // the record file and the system's reason
} // namespace Msg
