#pragma once

#include <QString>

class QDialog;
class QDialogButtonBox;
class QPushButton;
class QWidget;

// Small helpers the frame's dialogs share: the OK and Cancel buttons with
// their shared captions, and a heading label.
namespace FormKit {

// A button box with OK (object name okName, caption VALOR_ACEP) and Cancel
// (cancelName, caption `cancelKey` of the shared texts) wired to the
// dialog's accept() and reject() unless `wire` is false.
QDialogButtonBox *okCancel(QDialog *dialog, const QString &okName, const QString &cancelName,
                           const QString &cancelKey = QStringLiteral("STAN_CANC_H"), bool wire = true);
QPushButton *okButton(QDialogButtonBox *box);
QPushButton *cancelButton(QDialogButtonBox *box);

// A label in the heading style of the frame's dialogs.
QWidget *heading(const QString &objectName, const QString &text, QWidget *parent);

} // namespace FormKit
