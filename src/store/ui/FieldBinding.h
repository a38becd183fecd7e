#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;
#include "store/engine/Table.h"

// Binds one edit control to one field of a Table, the way the editors show
// and change the current record:
//
// - the control shows the field of the current record and follows the Table
//   as it moves, posts or cancels;
// - a change made by the operator puts the Table in Edit state (when it was
//   browsing) and writes the field into the record buffer; post() or
//   cancel() on the Table (the navigator's Save and Cancel) settle it;
// - a value the field refuses (a text too long, a Table that cannot be
//   edited) is reported through Dialogs and the control shows the field
//   again, so what is on screen is always what the record holds.
//
// Supported controls: QLineEdit (text; its maximum length is the field's
// width), QCheckBox (boolean; null shows unchecked), QComboBox (the text of
// the chosen or typed item).
class FieldBinding : public QObject {
    Q_OBJECT
public:
    FieldBinding(Table *table, const QString &field, QLineEdit *edit, QObject *parent = nullptr);
    FieldBinding(Table *table, const QString &field, QCheckBox *box, QObject *parent = nullptr);
    FieldBinding(Table *table, const QString &field, QComboBox *combo, QObject *parent = nullptr);

    QString field() const { return m_field; }
    QWidget *widget() const { return m_widget; }

    // A read-only binding only shows the field.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }

    // Shows the current record's value in the control.
    void show();

private:
    void init();
    void writeValue(const QVariant &value);
    void onStateChanged();

    enum class Kind { Line, Check, Combo };
    QPointer<Table> m_table;
    QString m_field;
    Kind m_kind;
    QPointer<QWidget> m_widget;
    bool m_readOnly = false;
    bool m_showing = false;
    bool m_writing = false;
};
