#include "app/ui/frmAbout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Language.h"
#include "app/TranslateForms.h"
#include "app/ui/controls/NorbUrlLabel.h"
#include "app/ui/frmMain.h"
#include "platform/IniFile.h"
#include "platform/VersionInfo.h"

TfrmAbout* frmAbout = nullptr;

TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setModal(false);

    nol_lblAboutInfo = new QLabel(AboutInfo(), this);
    nol_lblAboutInfo->setObjectName(QStringLiteral("nol_lblAboutInfo"));
    nol_lbltTranslation = new QLabel(this);
    nol_lbltTranslation->setObjectName(QStringLiteral("nol_lbltTranslation"));

    urlWeb = new TNorbUrlLabel(this);
    urlWeb->setObjectName(QStringLiteral("urlWeb"));
    TUrlLink web;
    web.URLType = utHttps;
    web.URL = QString::fromLatin1(kMakerWebAddress);
    urlWeb->SetLink(web);
    urlWeb->setText(web.URL);

    urlMail = new TNorbUrlLabel(this);
    urlMail->setObjectName(QStringLiteral("urlMail"));
    TUrlLink mail;
    mail.URLType = utMail;
    mail.URL = QString::fromLatin1(kMakerMailAddress);
    mail.MailSubject = QStringLiteral("Kestro");
    urlMail->SetLink(mail);
    urlMail->setText(mail.URL);

    btnOk = new QPushButton(QStringLiteral("&Ok"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::close);

    auto* text = new QVBoxLayout;
    text->addWidget(nol_lblAboutInfo);
    text->addWidget(nol_lbltTranslation);
    text->addSpacing(6);
    text->addWidget(urlWeb);
    text->addWidget(urlMail);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    auto* column = new QVBoxLayout(this);
    column->addLayout(text);
    column->addStretch();
    column->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(360, 0)));
}

QString TfrmAbout::AboutInfo()
{
    return VersionInfoValue(QStringLiteral("ProductName")) + QStringLiteral(" Version ") + TfrmMain::ReduceFv(7)
        + QStringLiteral("\nCAD/CAM for small milling, routing and engraving machines.")
        + QStringLiteral("\nThis program comes with no warranty of any kind.");
}

void TfrmAbout::showEvent(QShowEvent* event)
{
    TranslateForms({this}, LanguageFile.get());
    nol_lbltTranslation->setText(TranslatorLine());
    nol_lbltTranslation->setVisible(!nol_lbltTranslation->text().isEmpty());
    QDialog::showEvent(event);
}
