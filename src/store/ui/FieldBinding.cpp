#include "store/ui/FieldBinding.h"

#include "platform/Dialogs.h"
#include "store/engine/EngineError.h"
#include "store/engine/Table.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

FieldBinding::FieldBinding(Table *table, const QString &field, QLineEdit *edit, QObject *parent)
    : QObject(parent), m_table(table), m_field(field), m_kind(Kind::Line), m_widget(edit)
{
    connect(edit, &QLineEdit::textEdited, this, [this](const QString &text) { writeValue(text); });
    init();
}

FieldBinding::FieldBinding(Table *table, const QString &field, QCheckBox *box, QObject *parent)
    : QObject(parent), m_table(table), m_field(field), m_kind(Kind::Check), m_widget(box)
{
    connect(box, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_showing)
            writeValue(on);
    });
    init();
}

FieldBinding::FieldBinding(Table *table, const QString &field, QComboBox *combo, QObject *parent)
    : QObject(parent), m_table(table), m_field(field), m_kind(Kind::Combo), m_widget(combo)
{
    connect(combo, &QComboBox::currentTextChanged, this, [this](const QString &text) {
        if (!m_showing)
            writeValue(text);
    });
    init();
}

void FieldBinding::init()
{
    if (m_table) {
        connect(m_table, &Table::currentChanged, this, &FieldBinding::show);
        connect(m_table, &Table::stateChanged, this, &FieldBinding::onStateChanged);
    }
    onStateChanged();
}

void FieldBinding::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    onStateChanged();
}

void FieldBinding::onStateChanged()
{
    if (!m_widget)
        return;
    const bool open = m_table && m_table->isOpen();
    if (m_kind == Kind::Line)
        static_cast<QLineEdit *>(m_widget.data())->setReadOnly(m_readOnly || !open);
    else
        m_widget->setEnabled(!m_readOnly && open);
    if (m_kind == Kind::Line && open) {
        const int index = m_table->definition().fieldIndex(m_field);
        if (index >= 0) {
            const FieldDef &def = m_table->definition().fields.at(index);
            if (def.kind == FieldKind::Text && def.width > 0)
                static_cast<QLineEdit *>(m_widget.data())->setMaxLength(def.width);
        }
    }
    show();
}

void FieldBinding::show()
{
    // While the control's own change is being written, the control already
    // shows the new value: putting the old one back would lose the keystroke.
    if (!m_widget || m_writing)
        return;
    m_showing = true;
    QVariant value;
    const bool has = m_table && m_table->isOpen() && (m_table->state() != Table::State::Browse || !m_table->eof() || !m_table->bof());
    if (has) {
        try {
            value = m_table->value(m_field);
        } catch (const EngineError &) {
            value = QVariant(); // no current record
        }
    }
    switch (m_kind) {
    case Kind::Line: {
        auto *edit = static_cast<QLineEdit *>(m_widget.data());
        const QString text = value.isNull() ? QString() : value.toString();
        if (edit->text() != text)
            edit->setText(text);
        break;
    }
    case Kind::Check:
        static_cast<QCheckBox *>(m_widget.data())->setChecked(!value.isNull() && value.toBool());
        break;
    case Kind::Combo: {
        auto *combo = static_cast<QComboBox *>(m_widget.data());
        const QString text = value.isNull() ? QString() : value.toString();
        const int i = combo->findText(text);
        if (i >= 0)
            combo->setCurrentIndex(i);
        else if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentIndex(-1);
        break;
    }
    }
    m_showing = false;
}

void FieldBinding::writeValue(const QVariant &value)
{
    if (!m_table || m_readOnly)
        return;
    m_writing = true;
    try {
        if (m_table->state() == Table::State::Browse)
            m_table->edit();
        m_table->setValue(m_field, value);
        m_writing = false;
    } catch (const EngineError &e) {
        m_writing = false;
        Dialogs::instance().warning(e.text());
        show();
    } catch (const Abort &) {
        m_writing = false;
        show();
    }
}
