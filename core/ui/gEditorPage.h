#pragma once
#include <QString>

// What the main window's page switch needs of the diary editor page ("frmNew"):
// whether the entry changed, whether it edits a stored entry, and its two text
// fields, so it can ask before leaving and put quoted text into a fresh entry.
class gEditorPage {
public:
    virtual ~gEditorPage() = default;

    // The open entry changed since the editor was loaded or saved.
    bool gChanged = false;

    // True when the editor edits a stored entry (the editMode it was opened with).
    virtual bool editMode() const = 0;
    // The title box (Text2) and the body's plain text (Text1.Text).
    virtual QString titleText() const = 0;
    virtual QString bodyText() const = 0;
    virtual void setBodyText(const QString& text) = 0;
    // Writes the body (the pop-up editor's text while that is open) to the draft
    // file, as the draft timer does; false when it could not be written. The
    // draft then goes when the entry is saved or left, as one the timer wrote.
    virtual bool gSaveDraft() = 0;
};

// The search page ("frmRetrieval"): the switch selects node 1 of its tree on opening.
class gSearchPage {
public:
    virtual ~gSearchPage() = default;
    virtual void selectFirstNode() = 0;
};
