#pragma once

// The language file: every text the user reads, beyond the designed captions
// of the windows, is looked up in it by section and key. Texts are fetched
// by message number from its [String] section; the page status texts and the
// task prompts are kept ready in PageTexts.

#include <array>
#include <memory>
#include <string_view>

#include <QString>
#include <QStringList>

class IniFile;

// The open language file, or none. Without one, [String] texts come from the
// program's built-in English texts, so that boxes and prompts still read.
extern std::unique_ptr<IniFile> LanguageFile;
// The full path of the last language file tried, for the message that it is missing.
extern QString LanguageFilePath;

// Status texts of the option pages by page index (0 to 46) and prompts of the
// drawing tasks (50 to 65), filled by LoadMessages.
inline constexpr int kPageTextCount = 67;
extern std::array<QString, kPageTextCount> PageTexts;

// Opens program folder + "/" + relativeName + ".lng" (callers pass
// "language/" + LanguageName), matching each part of the name without regard
// to case. Text that is not valid UTF-8 is read as Windows-1252, the code page
// the older language files were written in. None when the file is missing or
// cannot be read; LanguageFilePath names it either way.
std::unique_ptr<IniFile> OpenLanguageFile(const QString& relativeName);
// The language file held in the bytes, read as OpenLanguageFile reads one.
std::unique_ptr<IniFile> LanguageFileFromBytes(const QByteArray& bytes);

// LanguageFile := the file of that language (OpenLanguageFile).
void OpenLanguage(const std::string& languageName);

// Turns each "*|*" of a language value into a line break (CR LF): empty
// pieces before the first non-empty one are dropped, every later piece is
// kept behind a break, and the last piece always stands behind one.
QString JoinLangLines(std::string_view value);

// The value of key in section of LanguageFile with its line breaks made;
// empty when the key is missing.
QString ReadLangValue(std::string_view section, std::string_view key);
// A text of the [String] section, by message number or by key ("Autor").
QString GetLangString(int message);
QString GetLangString(std::string_view key);
// The main window's hint text of a control, as the recently-used bar shows it.
QString GetLangHint(const QString& controlName);

// Fills PageTexts from the [String] section; slots without a message are emptied.
void LoadMessages();

// The language names the settings page offers: the ".lng" files of the
// program's language folder without their extension, in name order.
QStringList LanguageNames();

// The About window's credit line: LanguageName with its first letter in upper
// case, " language translated by " and the [String] key "Autor"; empty
// when the language file names no translator.
QString TranslatorLine();
