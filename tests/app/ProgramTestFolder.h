#pragma once

// Starts the whole program the way main() does, but in a program folder of
// its own: a temporary folder holding the built language file, vector font,
// block library and default post, and whatever settings file the test writes. Message
// boxes are answered by the test and recorded, numbers run under a comma
// locale, and every global the start-up sets is put back afterwards.

#include <memory>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "../platform/CommaLocale.h"
#include "StartupGlobals.h"
#include "app/CommandCode.h"
#include "app/DeletedEntities.h"
#include "app/Language.h"
#include "app/ui/ApplicationMessageBox.h"
#include "app/ui/ProgramStartup.h"
#include "app/ui/frmMain.h"
#include "cad/base/Settings.h"
#include "cad/view/ScreenCursor.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

struct TShownBox {
    QString Text;
    QString Caption;
    int Flags;
};

class ProgramTestFolder : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CommaLocale::Active()) << "the de_DE.UTF-8 locale is missing (tools/install-deps.sh)";
        ASSERT_TRUE(Folder.isValid());
        ASSERT_TRUE(QDir(Folder.path()).mkdir(QStringLiteral("language")));
        ASSERT_TRUE(QDir(Folder.path()).mkdir(QStringLiteral("pst")));
        const QString built = QStringLiteral(KESTRO_PROGRAM_DIR);
        for (const char* name : {"language/english.lng", "RomanC.fnt", "Library.blk", "pst/Fanuc_mm.pst"}) {
            const QString file = QString::fromLatin1(name);
            ASSERT_TRUE(QFile::copy(built + QLatin1Char('/') + file, Path(file)))
                << name << " is missing from " << KESTRO_PROGRAM_DIR << " (build the kestro_data target)";
        }
        SetProgramFolder(Folder.path());
        PreviousHook = SetMessageBoxHook([this](const QString& text, const QString& caption, int flags) {
            Boxes.push_back({text, caption, flags});
            return Answer;
        });
    }

    void TearDown() override
    {
        SetScreenCursor(crDefault);
        Windows.reset();
        FinalizeModules();
        SetMessageBoxHook(PreviousHook);
        SetProgramFolder(QString());
        LanguageFile.reset();
        DeletedEntities.reset();
        Globals.Restore();
    }

    // Start-up as main() runs it, without the message loop.
    TfrmMain& Start()
    {
        InitializeModules();
        Windows = std::make_unique<TProgramWindows>();
        return Windows->Main();
    }

    // The program's end, after which it may start again in the same folder.
    void Stop()
    {
        SetScreenCursor(crDefault);
        Windows.reset();
        FinalizeModules();
        DeletedEntities.reset();
    }

    QString Path(const QString& name) const { return Folder.path() + QLatin1Char('/') + name; }
    QString SettingsPath() const { return Path(QStringLiteral("kestro.ini")); }

    void WriteFile(const QString& name, const QByteArray& text) const
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray ReadFile(const QString& name) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void WriteSettings(const QByteArray& text) const { WriteFile(QStringLiteral("kestro.ini"), text); }

    // The answer every box gets; the boxes shown so far.
    int Answer = kIdYes;
    std::vector<TShownBox> Boxes;

private:
    const CommaLocale Comma;
    const TStartupGlobals Globals;
    QTemporaryDir Folder;
    TMessageBoxHook PreviousHook;
    std::unique_ptr<TProgramWindows> Windows;
};
