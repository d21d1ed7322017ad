#pragma once
#include <QDialog>
#include <QMap>
#include <QPixmap>

#include "core/ui/gForms.h"

class QLabel;
class QPushButton;
class gLinkLabel;

// The help window: one help text (modal), or a small topic browser (modeless).
class frmHelp : public QDialog, public gForm {
    Q_OBJECT
public:
    explicit frmHelp(QWidget* parent = nullptr);

    // Builds the topic list.
    void gShowMain();
    // Shows help text `textId` (a string number).
    void showText(int textId);

    QLabel* label(int index) const { return labels_.value(index); }
    QWidget* buttonBar;
    QPushButton* closeButton;
    gLinkLabel* backLink;

protected:
    void done(int r) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void topicClicked(int index);
    void back();
    void setLabel0(const QString& text);
    void setClientHeightTwips(int twips);
    QMap<int, QLabel*> labels_;
    QPixmap background_;
};
