#include "DialogService.h"
#include "InstalledService.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QRegularExpression>
#include <QStringList>

namespace {
InstalledService<DialogService, QtDialogService> g_service;
}

DialogService& DialogService::Instance()
{
    return g_service.Current();
}

void DialogService::SetInstance(DialogService* service)
{
    g_service.Install(service);
}

DialogService* DialogService::Installed()
{
    return g_service.Installed();
}

QStringList DialogService::QtFilters(const QString& filter)
{
    QStringList out;
    const QStringList parts = filter.split(u'|');
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        // File names here are case-sensitive; "*.BRP" should still find "x.brp".
        QStringList shown;
        for (const QString& p : patterns) {
            const QString t = p.trimmed();
            shown << t;
            if (t.toLower() != t)
                shown << t.toLower();
        }
        const QString list = shown.join(u' ');
        // Qt reads the patterns from the last parentheses of the text.
        if (description.endsWith(u')') && description.contains(u'('))
            out << description.left(description.lastIndexOf(u'(')).trimmed() + QStringLiteral(" (") + list + u')';
        else
            out << description + QStringLiteral(" (") + list + u')';
    }
    return out;
}

QString DialogService::ExtensionFor(const QString& filter, int filterIndex, const QString& defaultExt)
{
    const QStringList parts = filter.split(u'|');
    const qsizetype patterns = qsizetype(filterIndex) * 2 - 1;
    if (filterIndex < 1 || patterns >= parts.size())
        return defaultExt;
    const QStringList list = parts[patterns].split(u';', Qt::SkipEmptyParts);
    if (list.size() != 1)
        return defaultExt;
    const QString pattern = list.first().trimmed();
    static const QRegularExpression single(QStringLiteral("^\\*\\.([^*?.\\[\\]]+)$"));
    const QRegularExpressionMatch m = single.match(pattern);
    return m.hasMatch() ? m.captured(1) : defaultExt;
}

bool QtDialogService::InputQuery(const QString& caption, const QString& prompt, QString& value)
{
    bool ok = false;
    const QString answer =
        QInputDialog::getText(QApplication::activeWindow(), caption, prompt, QLineEdit::Normal, value, &ok);
    if (ok)
        value = answer;
    return ok;
}

bool QtDialogService::FileDialog(bool save, const QString& title, const QString& filter, const QString& defaultExt,
                                 QString& fileName, int& filterIndex)
{
    QFileDialog dialog(QApplication::activeWindow(), title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = QtFilters(filter);
    dialog.setNameFilters(filters);
    if (filterIndex >= 1 && filterIndex <= filters.size())
        dialog.selectNameFilter(filters[filterIndex - 1]);
    // A name typed without extension takes the type chosen (a PDF is not
    // written under the report file's extension).
    const auto followFilter = [&](const QString& chosen) {
        dialog.setDefaultSuffix(ExtensionFor(filter, int(filters.indexOf(chosen)) + 1, defaultExt));
    };
    followFilter(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().constFirst();
    filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (filterIndex < 1)
        filterIndex = 1;
    return true;
}

bool QtDialogService::OpenFileName(const QString& title, const QString& filter, const QString& defaultExt,
                                   QString& fileName, int& filterIndex)
{
    return FileDialog(false, title, filter, defaultExt, fileName, filterIndex);
}

bool QtDialogService::SaveFileName(const QString& title, const QString& filter, const QString& defaultExt,
                                   QString& fileName, int& filterIndex)
{
    return FileDialog(true, title, filter, defaultExt, fileName, filterIndex);
}
