#include "app/ui/frmCoord.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/Language.h"
#include "app/NumericText.h"
#include "app/TranslateForms.h"
#include "app/ui/controls/NumericKeyFilter.h"
#include "platform/IniFile.h"

TfrmCoord* frmCoord = nullptr;

TfrmCoord::TfrmCoord(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCoord"));
    setWindowTitle(QStringLiteral("Enter coordinate...."));
    setFixedSize(268, 144);

    auto* grid = new QGridLayout(this);
    const auto addField = [this, grid](int row, const char* labelName, const char* fieldName, const QString& caption,
                                       QLabel*& label, QLineEdit*& field) {
        label = new QLabel(caption, this);
        label->setObjectName(QString::fromLatin1(labelName));
        field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(fieldName));
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
    };
    addField(0, "lblCoordX", "txtCoordX", QStringLiteral("X:"), lblCoordX, txtCoordX);
    addField(1, "lblCoordY", "txtCoordY", QStringLiteral("Y:"), lblCoordY, txtCoordY);
    txtCoordX->installEventFilter(this);

    btnOk = new QPushButton(QStringLiteral("&Ok"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    grid->addLayout(buttons, 2, 0, 1, 2);
    // Both close; the caller reads the fields either way.
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TfrmCoord::txtCoordXKeyPress(char key) const
{
    return CoordXKey(txtCoordX->text(), txtCoordX->cursorPosition(), key) != kKeyRefused;
}

void TfrmCoord::showEvent(QShowEvent* event)
{
    TranslateForms({this}, LanguageFile.get());
    QDialog::showEvent(event);
    txtCoordX->setFocus();
}

bool TfrmCoord::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtCoordX && event->type() == QEvent::KeyPress) {
        const std::optional<char> key = KeyCharacter(*static_cast<QKeyEvent*>(event));
        // Esc and keys that type nothing go on to the dialog and the field.
        if (key && *key != kKeyEsc && !txtCoordXKeyPress(*key))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
