#pragma once
#include <QPixmap>

// The parts of the profile (see gUserData.h) that show windows.

// Reads and checks the profile into the account variables. On failure offers
// the bad-profile choices (recreate, another folder, close) and returns false;
// a profile the system refuses to read gets only another folder and close.
// A profile of only its key is read but counts as a failure here: it names no
// account to sign in to.
bool gLoadUserData();

// The picture of a picture number: 0..11 built-in bitmaps 101..112, 12 the
// user's own picture file (bitmap 113 while it is missing). An unreadable
// picture shows the error box and gives an empty pixmap.
QPixmap gLoadUserPicture(int pictureIndex);
