#pragma once
#include <QString>
#include <QWidget>

#include "core/ui/gForms.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The settings page (page 6): one tree of the account's options, its three
// minute settings and where the user folder lies. A click on an option flips it
// in the shared state at once; a minute node or the custom folder opens a small
// editor. Only "保存(&S)" writes anything; leaving the page any other way lets
// the main window read the profile and the paths back, which undoes the rest.
class frmSet : public QWidget, public gForm {
    Q_OBJECT
public:
    frmSet();
    void formLoad() override;
    void formUnload() override;

    // The node with this key ("R1", "C5", "D2", "E3"...), or nullptr.
    QTreeWidgetItem* node(const QString& key) const;
    static QString nodeKey(const QTreeWidgetItem* item);
    // The image a node shows ("CT", "CF", "OT", "OF", "D1", or its own key for a group).
    static QString nodeImage(const QTreeWidgetItem* item);
    // The page's copy of the custom folder, as typed (saved only by saveButton_Click).
    QString workPath() const { return workPath_; }
    // The node the open editor belongs to ("" while it is closed).
    QString editingKey() const { return editKey_; }

    // Handlers, as the controls run them.
    void optionTree_NodeClick(QTreeWidgetItem* item);
    void editorOkButton_Click(); // the editor's OK
    void saveButton_Click();
    void cancelButton_Click();

    // Controls.
    QWidget* titleBand = nullptr;
    QLabel* titleLabel = nullptr; // "设置"
    QLabel* titleImage = nullptr;
    QWidget* buttonBand = nullptr;
    QWidget* treeFrame = nullptr;
    QTreeWidget* optionTree = nullptr;
    QLineEdit* valueEdit = nullptr;
    QPushButton* editorOkButton = nullptr; // "确定"
    QPushButton* saveButton = nullptr;     // "保存(&S)"
    QPushButton* cancelButton = nullptr;   // "取消"

protected:
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QTreeWidgetItem* addNode(const QString& parentKey, const QString& key, const QString& caption);
    void setImage(QTreeWidgetItem* item, const QString& imageKey);
    void refreshLocationImages();
    void refreshMinuteCaption(const QString& key);
    void openEditor(QTreeWidgetItem* item, const QString& value);
    void closeEditor();
    void placeEditor();
    // Writes everything; false when something could not be written (already reported).
    bool save();

    QString workPath_;
    QString editKey_;
};
