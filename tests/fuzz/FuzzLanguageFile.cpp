// A language file, then every text the program looks up in it.

#include <QByteArray>

#include "FuzzSupport.h"
#include "app/Language.h"
#include "platform/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    LanguageFile = LanguageFileFromBytes(bytes);
    LoadMessages();
    for (int message = 0; message < 1000; ++message)
        GetLangString(message);
    GetLangHint(QStringLiteral("sbOpen"));
    TranslatorLine();
    JoinLangLines(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    LanguageFile.reset();
    return 0;
}
