#pragma once
#include <QString>
#include <QWidget>

#include "core/gForms.h"

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
    // The page's copy of the custom folder, as typed (saved only by Command1_Click).
    QString workPath() const { return workPath_; }
    // The node the open editor belongs to ("" while it is closed).
    QString editingKey() const { return editKey_; }

    // Handlers, as the controls run them.
    void TreeView1_NodeClick(QTreeWidgetItem* item);
    void Command3_Click(); // the editor's OK
    void Command1_Click(); // save
    void Command2_Click(); // cancel

    // Controls.
    QWidget* Picture1 = nullptr; // title band
    QLabel* Label1 = nullptr;    // "设置"
    QLabel* Image1 = nullptr;
    QWidget* Picture2 = nullptr; // button band
    QWidget* Picture3 = nullptr; // tree frame
    QTreeWidget* TreeView1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command3 = nullptr; // "确定"
    QPushButton* Command1 = nullptr; // "保存(&S)"
    QPushButton* Command2 = nullptr; // "取消"

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
