#pragma once
// The program's small standard dialogs (one-line input prompt, open and save
// file dialogs) go through this service, so that tests can answer them
// without a window appearing.
//
// File filters are written the platform's way: pairs of description and
// patterns separated by '|', e.g. "Report file (*.BRP)|*.BRP|Text|*.txt".

#include <QString>

class DialogService {
public:
    virtual ~DialogService() = default;
    DialogService() = default;
    DialogService(const DialogService&) = delete;
    DialogService& operator=(const DialogService&) = delete;

    // The service in use: the one installed by setInstance, else the one
    // that shows real dialogs.
    static DialogService& Instance();
    // Installs `service` (not owned); nullptr goes back to real dialogs.
    static void SetInstance(DialogService* service);
    static DialogService* Installed();

    // One-line prompt: `value` holds the initial answer and, when the
    // operator confirms, the new one. Cancelling leaves it as it was.
    virtual bool InputQuery(const QString& caption, const QString& prompt, QString& value) = 0;

    // File dialogs. A typed name without an extension takes the chosen
    // type's (the filter's single "*.ext" pattern), else `defaultExt` (without
    // the dot). `filterIndex` is 1-based, in and out.
    virtual bool OpenFileName(const QString& title, const QString& filter, const QString& defaultExt,
                              QString& fileName, int& filterIndex) = 0;
    virtual bool SaveFileName(const QString& title, const QString& filter, const QString& defaultExt,
                              QString& fileName, int& filterIndex) = 0;

    // The platform filter as Qt's list of "description (patterns)" entries.
    static QStringList QtFilters(const QString& filter);
    // The extension a name typed with filter entry `filterIndex` (1-based)
    // chosen takes: the entry's own when it has a single "*.ext" pattern,
    // else `defaultExt`.
    static QString ExtensionFor(const QString& filter, int filterIndex, const QString& defaultExt);
};

// Real dialogs over QInputDialog and QFileDialog.
class QtDialogService : public DialogService {
public:
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
    bool OpenFileName(const QString& title, const QString& filter, const QString& defaultExt, QString& fileName,
                      int& filterIndex) override;
    bool SaveFileName(const QString& title, const QString& filter, const QString& defaultExt, QString& fileName,
                      int& filterIndex) override;

private:
    bool FileDialog(bool save, const QString& title, const QString& filter, const QString& defaultExt,
                    QString& fileName, int& filterIndex);
};
