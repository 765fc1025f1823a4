#include "app/UrlLink.h"

namespace {

QString Scheme(const TUrlLink& link)
{
    switch (link.URLType) {
    case utCustom: return link.CustomURLType;
    case utFile: return QStringLiteral("file://");
    case utFtp: return QStringLiteral("ftp://");
    case utGopher: return QStringLiteral("gopher://");
    case utHttp: return QStringLiteral("http://");
    case utHttps: return QStringLiteral("https://");
    case utMail: return QStringLiteral("mailto:");
    case utNews: return QStringLiteral("news:");
    case utTelnet: return QStringLiteral("telnet:");
    case utWais: return QStringLiteral("wais:");
    }
    return QString();
}

} // namespace

QString UrlLinkText(const TUrlLink& link)
{
    QString text = Scheme(link) + link.URL;
    if (link.URLType != utMail)
        return text;

    // A parameter list must open with '?': with "&Body=" straight after the
    // address, mail programs take the body for part of the address.
    bool first = true;
    const auto addParameter = [&](const QString& name, const QString& value) {
        text += (first ? QLatin1Char('?') : QLatin1Char('&')) + name + QLatin1Char('=') + value;
        first = false;
    };
    if (!link.MailSubject.isEmpty())
        addParameter(QStringLiteral("Subject"), link.MailSubject);
    QString body = link.MailBody.join(QStringLiteral("\r\n"));
    body.replace(QStringLiteral("\r\n"), QStringLiteral("%0A%0D"), Qt::CaseInsensitive);
    if (!body.isEmpty())
        addParameter(QStringLiteral("Body"), body);
    if (!link.Bcc.isEmpty())
        addParameter(QStringLiteral("Bcc"), link.Bcc);
    if (!link.Cc.isEmpty())
        addParameter(QStringLiteral("Cc"), link.Cc);
    return text;
}
