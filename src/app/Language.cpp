#include "app/Language.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include "app/EnglishTexts.h"
#include "app/LanguageMessages.h"
#include "cad/base/Settings.h"
#include "cad/fonts/Windows1252.h"
#include "platform/FileNoCase.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

std::unique_ptr<IniFile> LanguageFile;
QString LanguageFilePath;
std::array<QString, kPageTextCount> PageTexts;

namespace {

// Older language files were written in the Windows Western code page.
QByteArray AsUtf8(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    // The decoder decodes, and finds errors, only when its result is taken.
    const QString decoded = utf8.decode(bytes);
    if (!utf8.hasError())
        return bytes;
    return DecodeWindows1252(bytes.toStdString()).toUtf8();
}

const IniFile& TextSource()
{
    return LanguageFile ? *LanguageFile : BuiltInEnglishTexts();
}

}  // namespace

std::unique_ptr<IniFile> OpenLanguageFile(const QString& relativeName)
{
    const QString folder = ProgramFolder();
    const QString name = relativeName + QStringLiteral(".lng");
    const QString found = FindFileNoCase(folder, name);
    LanguageFilePath = found.isEmpty() ? QDir::cleanPath(folder + QLatin1Char('/') + QString(name).replace(QLatin1Char('\\'), QLatin1Char('/'))) : found;
    if (found.isEmpty())
        return nullptr;
    QFile file(found);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return nullptr;
    return LanguageFileFromBytes(bytes);
}

std::unique_ptr<IniFile> LanguageFileFromBytes(const QByteArray& bytes)
{
    const QByteArray text = AsUtf8(bytes);
    return std::make_unique<IniFile>(IniFile::FromText(std::string_view(text.constData(), static_cast<std::size_t>(text.size()))));
}

void OpenLanguage(const std::string& languageName)
{
    LanguageFile = OpenLanguageFile(QStringLiteral("language/") + QString::fromStdString(languageName));
}

QString JoinLangLines(std::string_view value)
{
    static constexpr std::string_view kBreak = "*|*";
    if (value.find(kBreak) == std::string_view::npos)
        return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
    std::string joined;
    bool started = false;
    std::size_t at = 0;
    for (std::size_t next = value.find(kBreak); next != std::string_view::npos; next = value.find(kBreak, at)) {
        const std::string_view piece = value.substr(at, next - at);
        at = next + kBreak.size();
        if (started) {
            joined += "\r\n";
            joined += piece;
        } else if (!piece.empty()) {
            joined = piece;
            started = true;
        }
    }
    joined += "\r\n";
    joined += value.substr(at);
    return QString::fromStdString(joined);
}

QString ReadLangValue(std::string_view section, std::string_view key)
{
    const std::optional<std::string> value = TextSource().Find(section, key);
    return value ? JoinLangLines(*value) : QString();
}

QString GetLangString(int message)
{
    return GetLangString(std::to_string(message));
}

QString GetLangString(std::string_view key)
{
    return ReadLangValue("String", key);
}

QString GetLangHint(const QString& controlName)
{
    return ReadLangValue("frmMain", (controlName + QStringLiteral(".Hint")).toStdString());
}

void LoadMessages()
{
    for (QString& text : PageTexts)
        text.clear();
    for (const TPageTextSlot& slot : kPageTextSlots)
        PageTexts[static_cast<std::size_t>(slot.slot)] = GetLangString(slot.message);
}

QStringList LanguageNames()
{
    const QString folder = FindPathNoCase(ProgramFolder(), QStringLiteral("language"));
    if (folder.isEmpty())
        return {};
    QStringList names;
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.lng")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& file : files)
        names << file.left(file.size() - 4);
    return names;
}

QString TranslatorLine()
{
    const QString translator = GetLangString("Autor");
    if (translator.isEmpty())
        return {};
    QString language = QString::fromStdString(LanguageName);
    if (!language.isEmpty())
        language[0] = language[0].toUpper();
    return language + QStringLiteral(" language translated by ") + translator;
}
