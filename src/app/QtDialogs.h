#pragma once

#include "platform/Dialogs.h"

#include <QPointer>

class QWidget;
class QMessageBox;

// The Dialogs service of the windowed program: modal Qt message boxes and
// the Qt file and folder dialogs. Installed by main() once the application
// exists; every window asks through Dialogs::instance(), never directly.
class QtDialogs : public Dialogs {
public:
    // `parent` is the window the boxes are centred on (may be null).
    explicit QtDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    ~QtDialogs() override;

    void setParent(QWidget *parent) { m_parent = parent; }

    void warning(const QString &text, const QString &title = QString()) override;
    void information(const QString &text, const QString &title = QString()) override;
    bool confirm(const QString &text, const QString &title = QString()) override;
    QString openFile(const QString &title, const QString &folder, const QString &filter) override;
    QString saveFile(const QString &title, const QString &folder, const QString &filter) override;
    QString chooseFolder(const QString &title, const QString &folder) override;
    void messageWindow(const QString &line1, const QString &line2) override;

    // Converts a filter in the program's "Description|*.ext|..." form into
    // the "Description (*.ext);;..." form of the Qt dialogs. A filter already
    // in the Qt form is returned as it is.
    static QString qtFilter(const QString &filter);

private:
    QWidget *parentWidget() const;
    QPointer<QWidget> m_parent;
    QPointer<QMessageBox> m_messageWindow;
};
