#pragma once
// The numbers of the compiled-in resources: pictures are
// resources/<kind>/<number>.svg, texts are lines of resources/strings.txt.
// Message texts have their own names in gMsgIds.h.

namespace Res {

// Bitmaps.
constexpr int FirstAccountPicture = 101; // the twelve built-in account pictures, 101-112
constexpr int OwnPictureMissing = 113;   // stands in for an own picture whose file is gone
constexpr int WelcomeBackground = 120;   // account creation and the About box
constexpr int LockBackground = 121;
constexpr int SignInBackground = 122;
constexpr int DialogBackground = 123; // the message box and the help window
constexpr int ClassPicture = 124;     // the class reminder and today's classes
constexpr int HiddenMark = 200;       // a weekday or period the timetable does not show
constexpr int ShownMark = 201;

// Icons.
constexpr int KindIconBase = 100; // + a message's kind (gMsgKind): 101 error ... 104 information
constexpr int ErrorIcon = 101;
constexpr int ProgramIcon = 105;
constexpr int ClassesTodayIcon = 106;
constexpr int NoClassesIcon = 107;

// Cursors.
constexpr int HandCursor = 101;

// Texts.
constexpr int HelpHeading = 701;
constexpr int FirstHelpTopic = 702; // the topic links, 702-706
constexpr int LastHelpTopic = 706;
constexpr int HelpTextOffset = 50; // a topic's text is the topic's number + 50
constexpr int ManifestText = 1000;
constexpr int WeekdayNameBase = 1000; // + the weekday, 1 (Monday) to 7
constexpr int PeriodNameBase = 1007;  // + the period, 1 to 10: the default periods
constexpr int PeriodBeginBase = 1017; // their start, in minutes after midnight
constexpr int PeriodEndBase = 1027;   // their end

} // namespace Res
