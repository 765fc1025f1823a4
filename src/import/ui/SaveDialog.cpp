#include "import/ui/SaveDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace {

TSaveDialogHook& Hook()
{
    static TSaveDialogHook hook;
    return hook;
}

// "Txt files (*.txt)|*.TXT" pairs as Qt's "Txt files (*.TXT)" entries.
QStringList NameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const qsizetype bracket = description.indexOf(QLatin1Char('('));
        if (bracket >= 0)
            description = description.left(bracket).trimmed();
        const QString patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        entries << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return entries;
}

} // namespace

QString WithExtension(const QString& fileName, const QString& extension)
{
    if (extension.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    return fileName + QLatin1Char('.') + extension;
}

TSaveDialogHook SetSaveDialogHook(TSaveDialogHook hook)
{
    TSaveDialogHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

TSaveDialog::TSaveDialog(QObject* parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("SaveDialog"));
}

TOpenDialog::TOpenDialog(QObject* parent)
    : TSaveDialog(parent)
{
    setObjectName(QStringLiteral("OpenDialog"));
    ForOpening = true;
}

std::unique_ptr<QFileDialog> TSaveDialog::CreateFileDialog(QWidget* parent) const
{
    auto dialog = std::make_unique<QFileDialog>(parent);
    dialog->setObjectName(objectName());
    // Qt's own dialog matches patterns without regard to case, as the
    // upper-case patterns of the filters need.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, !OverwritePrompt);
    dialog->setAcceptMode(ForOpening ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog->setFileMode(ForOpening ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = NameFilters(Filter);
    dialog->setNameFilters(filters);
    if (FilterIndex >= 1 && FilterIndex <= filters.size())
        dialog->selectNameFilter(filters[FilterIndex - 1]);
    if (!FileName.isEmpty()) {
        const QFileInfo info(FileName);
        if (!info.path().isEmpty() && info.path() != QLatin1String("."))
            dialog->setDirectory(info.path());
        dialog->selectFile(info.fileName());
    }
    return dialog;
}

bool TSaveDialog::Execute(QWidget* parent)
{
    if (Hook())
        return Hook()(*this);
    std::unique_ptr<QFileDialog> dialog = CreateFileDialog(parent);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return false;
    FileName = dialog->selectedFiles().constFirst();
    FilterIndex = static_cast<int>(NameFilters(Filter).indexOf(dialog->selectedNameFilter())) + 1;
    return true;
}
