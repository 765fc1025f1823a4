#pragma once

// The address a link label opens, built from its kind and its parts.

#include <QString>
#include <QStringList>

enum TUrlType { utCustom, utFile, utFtp, utGopher, utHttp, utHttps, utMail, utNews, utTelnet, utWais };

struct TUrlLink {
    TUrlType URLType = utHttp;
    QString URL;            // the address without its scheme
    QString CustomURLType;  // the scheme for utCustom, written as given
    QString MailSubject;
    QStringList MailBody;
    QString Cc;
    QString Bcc;
};

// The scheme of the kind followed by URL. A mail link adds, in this order,
// Subject, Body, Bcc and Cc when they are set; the first of them follows a
// '?', the others an '&'. The body lines are joined with line breaks, which
// are written as "%0A%0D".
QString UrlLinkText(const TUrlLink& link);
