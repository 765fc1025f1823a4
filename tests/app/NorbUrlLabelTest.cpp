#include <QCoreApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QStringList>
#include <gtest/gtest.h>

#include "WidgetInput.h"
#include "app/ui/ShellOpen.h"
#include "app/ui/controls/NorbUrlLabel.h"

namespace {

// Collects what a click would open instead of launching a program.
class NorbUrlLabelTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetShellOpener([this](const QString& link) { opened_ << link; });
    }
    void TearDown() override { SetShellOpener(TShellOpener()); }

    QStringList opened_;
};

void Enter(QWidget* widget)
{
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(widget, &enter);
}

void Leave(QWidget* widget)
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &leave);
}

TUrlLink Link(TUrlType type, const char* url)
{
    TUrlLink link;
    link.URLType = type;
    link.URL = QString::fromLatin1(url);
    return link;
}

} // namespace

TEST(UrlLinkText, PutsTheSchemeOfEachKindBeforeTheAddress)
{
    const struct {
        TUrlType type;
        const char* text;
    } cases[] = {
        {utFile, "file://host/x"},     {utFtp, "ftp://host/x"},   {utGopher, "gopher://host/x"},
        {utHttp, "http://host/x"},     {utHttps, "https://host/x"}, {utMail, "mailto:host/x"},
        {utNews, "news:host/x"},       {utTelnet, "telnet:host/x"}, {utWais, "wais:host/x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UrlLinkText(Link(c.type, "host/x")), QString::fromLatin1(c.text));

    TUrlLink custom = Link(utCustom, "irc.example.org/kestro");
    custom.CustomURLType = QStringLiteral("irc://");
    custom.MailSubject = QStringLiteral("ignored");
    EXPECT_EQ(UrlLinkText(custom), "irc://irc.example.org/kestro");
}

TEST(UrlLinkText, MailParametersFollowTheAddressInOrder)
{
    TUrlLink mail = Link(utMail, "info@example.org");
    mail.MailSubject = QStringLiteral("Hello");
    mail.MailBody = {QStringLiteral("line 1"), QStringLiteral("line 2")};
    mail.Bcc = QStringLiteral("b@example.org");
    mail.Cc = QStringLiteral("c@example.org");
    EXPECT_EQ(UrlLinkText(mail),
              "mailto:info@example.org?Subject=Hello&Body=line 1%0A%0Dline 2&Bcc=b@example.org&Cc=c@example.org");

    mail.MailSubject.clear();
    EXPECT_EQ(UrlLinkText(mail),
              "mailto:info@example.org?Body=line 1%0A%0Dline 2&Bcc=b@example.org&Cc=c@example.org")
        << "without a subject the body opens the parameters";

    mail.MailBody = {QStringLiteral("a\r\nb")};
    mail.Bcc.clear();
    EXPECT_EQ(UrlLinkText(mail), "mailto:info@example.org?Body=a%0A%0Db&Cc=c@example.org");

    mail.MailBody.clear();
    mail.Cc.clear();
    EXPECT_EQ(UrlLinkText(mail), "mailto:info@example.org");
}

TEST_F(NorbUrlLabelTest, ALeftClickOpensTheLink)
{
    TNorbUrlLabel label;
    label.setText(QStringLiteral("Web site"));
    label.resize(80, 16);
    label.SetLink(Link(utHttps, "www.example.org"));

    Click(&label, QPoint(5, 5), Qt::LeftButton);
    ASSERT_EQ(opened_, QStringList{"https://www.example.org"});
    Click(&label, QPoint(5, 5), Qt::RightButton);
    Click(&label, QPoint(200, 5), Qt::LeftButton);
    EXPECT_EQ(opened_.size(), 1) << "neither the right button nor a release outside opens it";
}

TEST_F(NorbUrlLabelTest, LightsUpWhileThePointerIsOver)
{
    TNorbUrlLabel label;
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
    int entered = 0;
    int left = 0;
    QObject::connect(&label, &TNorbUrlLabel::MouseEnter, [&] { ++entered; });
    QObject::connect(&label, &TNorbUrlLabel::MouseLeave, [&] { ++left; });

    Enter(&label);
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_TRUE(label.font().underline());
    Leave(&label);
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_FALSE(label.font().underline());
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(left, 1);

    label.SetUnderlineOnEnter(false);
    Enter(&label);
    EXPECT_FALSE(label.font().underline());
    Leave(&label);

    label.SetDetectMouse(false);
    EXPECT_TRUE(label.font().underline()) << "without detection the label stays underlined";
    Enter(&label);
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(0, 0, 128));
    Leave(&label);
    EXPECT_TRUE(label.font().underline());
    EXPECT_EQ(entered, 3) << "the label's own events run either way";
    label.SetDetectMouse(true);
    EXPECT_FALSE(label.font().underline());
}

TEST_F(NorbUrlLabelTest, TheHintShowsTheLink)
{
    TNorbUrlLabel label;
    label.SetLink(Link(utMail, "info@example.org"));
    EXPECT_EQ(label.toolTip(), "mailto:info@example.org");
    label.SetShowUrlHint(false);
    EXPECT_TRUE(label.toolTip().isEmpty());

    label.setToolTip(QStringLiteral("Write to us"));
    label.SetLink(Link(utHttp, "example.org"));
    EXPECT_EQ(label.toolTip(), "Write to us") << "a hint of its own stays while the link hint is off";
    label.SetShowUrlHint(true);
    EXPECT_EQ(label.toolTip(), "http://example.org");
}
