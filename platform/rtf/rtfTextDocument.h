#pragma once
#include "platform/rtf/rtf.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

// Between the rich-text model and Qt's text documents, so that an editor or a
// viewer can show what the diary stores and save what it shows.
namespace rtf {

// The families a font name is shown with: the name, then CJK faces for a
// Chinese name, which is often not installed here.
QStringList fontFamilies(const QString& name);

// An unset font or size in `f` is left unset, so the document's default applies.
QTextCharFormat toCharFormat(const CharFormat& f);
// Properties the format does not set come back unset.
CharFormat fromCharFormat(const QTextCharFormat& f);

Align fromQtAlignment(Qt::Alignment a);
Qt::Alignment toQtAlignment(Align a);

// The characters from position `from` to `to` (-1: the end). Pictures and
// other objects are left out.
Document fromTextDocument(const QTextDocument& doc, int from = 0, int to = -1);

// Replaces the cursor's selection with the document: its first paragraph joins
// the cursor's block, the others become blocks of their own.
void insertDocument(QTextCursor& cursor, const Document& doc);

// Replaces the whole content, alignment of the first block included.
void setTextDocument(QTextDocument& target, const Document& doc);

} // namespace rtf
