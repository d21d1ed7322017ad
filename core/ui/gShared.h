#pragma once
#include <QString>

#include "platform/registry.h"

class QWidget;

// Gives every control of the form whose name begins with "lblCmd" the hand cursor.
void gSetHandCursor(QWidget* form);

// Puts a window into or out of the always-on-top band without moving it; a
// window Qt must re-show to change the flag comes back at the same place and state.
void gSetTopMost(QWidget* form, bool onTop);

// Registry values (see platform/registry.h for where they live here).
// An empty text is stored as a single space, and the caller's variable gets it too.
bool gRegSetString(long root, const QString& subKey, const QString& valueName, QString& text);
bool gRegSetString(long root, const QString& subKey, const QString& valueName, const QString& text);
QString gRegGetValue(long root, const QString& subKey, const QString& valueName, const QString& def);
void gRegDeleteValue(long root, const QString& subKey, const QString& valueName);

using reg::HKEY_CURRENT_USER;
using reg::HKEY_LOCAL_MACHINE;
